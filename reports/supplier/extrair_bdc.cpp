// ExtrairBDC: copies the open customer lines, then allocates each article's stock and open
// supplier orders to its lines in date order (see ArticleAllocation).
#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "reports/lookup/lookup_answers.h"
#include "reports/supplier/allocation.h"
#include "reports/supplier/orders_by_supplier.h"
#include "reports/supplier/supplier_sql.h"
#include "shell/dataaccess/money_field.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr std::string_view kDate = "Data";
constexpr std::string_view kQuantity = "Quant";
constexpr std::string_view kAvailability = "Disponibilidade";
constexpr std::string_view kEstimate = "Prazo Estimado";

// "Disponibilidade" and "Prazo Estimado" are declared with 80 characters, but the texts are
// stored whole: an article with many supplier lines collects more notes than that, and cutting
// them would hide from the buyer which supplier orders a customer line waits for. Nothing is
// cut, so no character is ever split either.
Table customerLinesTable() {
    return Table({{"Data", FieldType::Text, 15},
                  {"Doc.", FieldType::Text, 20},
                  {"Nome Cliente", FieldType::Text, 80},
                  {"Artigo", FieldType::Text, 15},
                  {"Nome Artigo", FieldType::Text, 80},
                  {"Quant", FieldType::Money, 0},
                  {"Disponibilidade", FieldType::Text, 80},
                  {"Prazo Estimado", FieldType::Text, 80}});
}

// The first row's column as a quantity; no row (or a null) counts as 0.
Money firstQuantity(const Table& result, std::string_view column) {
    if (result.empty()) return Money();
    return moneyField(result, 0, column).value_or(Money());
}

std::vector<SupplierLine> supplierLines(const Table& result) {
    std::vector<SupplierLine> lines;
    lines.reserve(result.rowCount());
    for (size_t i = 0; i < result.rowCount(); ++i) {
        lines.push_back({moneyField(result, i, "Qtd").value_or(Money()),
                         leftChars(result.at(i, "Obs").toText(), 80)});
    }
    return lines;
}

// Positions of `rows` in the order of their "Data" text; equal dates keep their order.
std::vector<size_t> dateOrder(const Table& table, std::vector<size_t> rows) {
    const size_t date = table.requireField(kDate);
    const auto earlier = [&](size_t a, size_t b) {
        return table.at(a, date).text() < table.at(b, date).text();
    };
    // The query already returns the lines by date: most often nothing moves.
    if (!std::is_sorted(rows.begin(), rows.end(), earlier)) {
        std::stable_sort(rows.begin(), rows.end(), earlier);
    }
    return rows;
}

}  // namespace

Table ExtrairBDC(const ErpSession& session, const OrdersBySupplierRequest& request,
                 ReportProgress& progress) {
    Connection& bd = session.main;
    const LookupMode mode = session.lookups;
    const DateTime& startDate = request.startDate;
    Table source = bd.query(bdcCustomerLinesSql(startDate));
    Table lines = customerLinesTable();
    const size_t dateColumn = source.requireField("data");
    const size_t docColumn = source.requireField("Doc");
    const size_t customerColumn = source.requireField("NomeCli");
    const size_t articleColumn = source.requireField("Artigo");
    const size_t articleNameColumn = source.requireField("NomeArtigo");
    // The articles in order of first appearance (codes compared exactly, letter case counts),
    // each with its lines' positions in query order.
    std::vector<std::string> articles;
    std::vector<std::vector<size_t>> rowsOfArticle;
    std::unordered_map<std::string, size_t> articlePosition;
    // Each source row gives its texts to its line and is let go.
    lines.rows().reserve(source.rowCount());
    const long count = static_cast<long>(source.rowCount());
    for (size_t i = 0; i < source.rowCount(); ++i) {
        auto& line = source.rows()[i];
        const auto date = line[dateColumn].toDateTime();
        std::string article = line[articleColumn].takeText();
        const auto [at, isNew] = articlePosition.try_emplace(article, articles.size());
        if (isNew) {
            articles.push_back(article);
            rowsOfArticle.emplace_back();
        }
        rowsOfArticle[at->second].push_back(lines.rowCount());
        lines.addRow(valueRow(" " + (date ? date->isoDate() : std::string()),
                              leftChars(line[docColumn].takeText(), 20),
                              leftChars(line[customerColumn].takeText(), 80), std::move(article),
                              line[articleNameColumn].takeText(), moneyCell(source, i, "Quant"), "",
                              " "));
        std::vector<Value>().swap(line);
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }

    std::vector<LookupKey> articleKeys;
    for (const std::string& article : articles) articleKeys.push_back({article});
    const LookupAnswers stocks = fetchLookup(bd, articleStockLookup(), articleKeys, mode, progress);
    const LookupAnswers totals =
        fetchLookup(bd, supplierTotalLookup(startDate), articleKeys, mode, progress);
    const LookupAnswers supplierLineRows =
        fetchLookup(bd, supplierLinesLookup(startDate), articleKeys, mode, progress);

    const char separator = userDecimalSeparator();
    const size_t quantityField = lines.requireField(kQuantity);
    const size_t availabilityField = lines.requireField(kAvailability);
    const size_t estimateField = lines.requireField(kEstimate);
    const long articleCount = static_cast<long>(articles.size());
    for (size_t k = 0; k < articles.size(); ++k) {
        ArticleAllocation allocation(firstQuantity(stocks.rowsAt(k), "Existencia"),
                                     firstQuantity(totals.rowsAt(k), "Qtd"),
                                     supplierLines(supplierLineRows.rowsAt(k)), separator);
        for (size_t row : dateOrder(lines, std::move(rowsOfArticle[k]))) {
            const LineAllocation decided = allocation.allocate(
                lines.at(row, quantityField).toMoney().value_or(Money()),
                lines.at(row, availabilityField).toText(), lines.at(row, estimateField).toText());
            lines.at(row, availabilityField) = decided.availability;
            lines.at(row, estimateField) = decided.estimate;
        }
        reportProgress(progress, static_cast<long>(k) + 1, articleCount);
    }

    std::vector<size_t> all(lines.rowCount());
    std::iota(all.begin(), all.end(), size_t{0});
    std::vector<std::vector<Value>> sorted;
    sorted.reserve(all.size());
    for (size_t row : dateOrder(lines, std::move(all))) {
        sorted.push_back(std::move(lines.rows()[row]));
    }
    lines.rows() = std::move(sorted);
    return lines;
}

}  // namespace talvers
