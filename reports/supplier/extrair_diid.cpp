// ExtrairDIID: one row per open customer line with the article's last supplier, the customer of
// the external company's order it was exported from, whether the article has open supplier
// orders (with the first one's note) and the estimated date.
#include <unordered_map>

#include "reports/supplier/orders_by_supplier.h"
#include "reports/supplier/supplier_order_note.h"
#include "reports/supplier/supplier_sql.h"
#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/money_field.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

Table supplierOrdersTable() {
    return Table({{"Data", FieldType::Text, 15},
                  {"Doc.", FieldType::Text, 20},
                  {"Nome Cliente", FieldType::Text, 80},
                  {"Nome Cliente Lx", FieldType::Text, 80},
                  {"Nome Fornecedor", FieldType::Text, 80},
                  {"Enc.Forn.", FieldType::Text, 3},
                  {"Artigo", FieldType::Text, 15},
                  {"Nome Artigo", FieldType::Text, 80},
                  {"Quant.", FieldType::Money, 0},
                  {"Data Estimada", FieldType::Text, 20},
                  {"Notas", FieldType::Text, 80}});
}

std::string lastSupplier(Connection& bd, const std::string& article) {
    const Table result = bd.query(lastSupplierSql(article));
    if (result.empty()) return " ";
    std::string name = leftChars(result.at(0, "NOME").toText(), 80);
    flattenLineFeeds(name);
    return name;
}

// The customer of the order this one was exported from; `doc` is the whole key
// type/year/series/number/line.
std::string endCustomer(Connection& bdExt, const std::string& doc) {
    const std::vector<std::string> parts = splitText(doc, '/');
    if (parts.size() < 4) return " ";
    const auto sql = lisbonCustomerSql(parts[0], parts[2], parts[1], parts[3]);
    if (!sql) return " ";
    const Table result = bdExt.query(*sql);
    if (result.empty()) return " ";
    return leftChars(result.at(0, "CliLx").toText(), 80);
}

// The order date moved on by the article's days figure; the time of day is dropped, and an
// order without a date or an article without a days figure has no estimate. A days figure
// that leads past the year 9999 (or before the year 1) is a fault in the data.
std::string estimatedDate(const std::optional<DateTime>& date, const Value& days,
                          const std::string& article) {
    const auto dayCount = days.toInteger();
    if (!date || !dayCount) return {};
    try {
        return date->dateOnly().plusDays(static_cast<long>(*dayCount)).isoDate();
    } catch (const DateOutOfRange&) {
        throw DatabaseError(kDateOutOfRangeError, "A data estimada do artigo '" + article + "' (" +
                                                      date->isoDate() + " mais " +
                                                      std::to_string(*dayCount) +
                                                      " dias) fica fora dos anos 1 a 9999.");
    }
}

}  // namespace

Table ExtrairDIID(Connection& bd, Connection& bdExt, const DateTime& startDate,
                  ReportProgress& progress) {
    const Table source = bd.query(diidCustomerLinesSql(startDate));
    Table rows = supplierOrdersTable();
    // The supplier-order text per article, queried once per run for each distinct code
    // (compared exactly, letter case counts).
    std::unordered_map<std::string, std::string> orderTexts;
    const long count = static_cast<long>(source.rowCount());
    for (size_t i = 0; i < source.rowCount(); ++i) {
        const std::string doc = source.at(i, "Doc").toText();
        const std::string article = source.at(i, "Artigo").toText();
        const auto date = source.at(i, "data").toDateTime();

        std::string supplier = lastSupplier(bd, article);
        std::string customerLx = endCustomer(bdExt, doc);
        auto cached = orderTexts.find(article);
        if (cached == orderTexts.end()) {
            const Table result = bd.query(supplierOrdersSql(article));
            std::string text =
                result.empty() ? std::string() : leftChars(result.at(0, "EncForn").toText(), 100);
            cached = orderTexts.emplace(article, std::move(text)).first;
        }
        const std::string& orderText = cached->second;
        const bool hasOrders = !orderText.empty();

        rows.addRow({" " + (date ? date->isoDate() : std::string()), leftChars(doc, 20),
                     leftChars(source.at(i, "NomeCli").toText(), 80), std::move(customerLx),
                     std::move(supplier), hasOrders ? "Sim" : "Não", article,
                     source.at(i, "NomeArtigo").toText(), moneyCell(source, i, "Quant"),
                     estimatedDate(date, source.at(i, "Dias"), article),
                     hasOrders ? supplierOrderNote(bd, orderText) : " "});
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return rows;
}

}  // namespace talvers
