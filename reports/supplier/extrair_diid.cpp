// ExtrairDIID: one row per open customer line with the article's last supplier, the customer of
// the external company's order it was exported from, whether the article has open supplier
// orders (with the first one's note) and the estimated date.
#include "reports/lookup/distinct_keys.h"
#include "reports/lookup/lookup_answers.h"
#include "reports/lookup/orders/lookup_cells.h"
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

Table ExtrairDIID(const ErpSession& session, const OrdersBySupplierRequest& request,
                  ReportProgress& progress) {
    Connection& bd = session.main;
    const LookupMode mode = session.lookups;
    const DateTime& startDate = request.startDate;
    Table source = bd.query(diidCustomerLinesSql(startDate));
    Table rows = supplierOrdersTable();
    if (source.empty()) return rows;
    DistinctKeys articles;
    DistinctKeys documents;
    const size_t articleColumn = source.requireField("Artigo");
    const size_t docColumn = source.requireField("Doc");
    for (const auto& line : source.rows()) {
        articles.add({line[articleColumn].toText()});
        documents.add(lisbonKey(line[docColumn].toText()));
    }
    const LookupAnswers suppliers =
        fetchLookup(bd, lastSupplierLookup(), articles.keys(), mode, progress);
    const LookupAnswers customers =
        fetchLookup(session.external, lisbonCustomerLookup(), documents.keys(), mode, progress);
    // The supplier-order text is asked once per article (codes compared exactly, letter case
    // counts); the note of its first key is a second step, for the texts that name a line.
    const LookupAnswers orderTexts =
        fetchLookup(bd, supplierOrdersLookup(), articles.keys(), mode, progress);
    // Per article: whether it has supplier orders, and the position of the note key of their
    // text's first key (when it names a line) among the note keys.
    constexpr size_t kNoNote = static_cast<size_t>(-1);
    const size_t articleCount = articles.keys().size();
    std::vector<char> hasOrders(articleCount);
    std::vector<size_t> noteOfArticle(articleCount, kNoNote);
    std::vector<LookupKey> noteKeys;
    for (size_t a = 0; a < articleCount; ++a) {
        const std::string text = firstText(orderTexts.rowsAt(a), "EncForn", 100, "");
        hasOrders[a] = !text.empty();
        if (const auto key = text.empty() ? std::nullopt : supplierOrderNoteKey(text)) {
            noteOfArticle[a] = noteKeys.size();
            noteKeys.push_back(*key);
        }
    }
    const LookupAnswers notes =
        fetchLookup(bd, supplierOrderNoteLookup(), noteKeys, mode, progress);

    // Each source row gives its texts to its report row and is let go.
    const size_t dateColumn = source.requireField("data");
    const size_t customerColumn = source.requireField("NomeCli");
    const size_t articleNameColumn = source.requireField("NomeArtigo");
    const size_t daysColumn = source.requireField("Dias");
    rows.rows().reserve(source.rowCount());
    const long count = static_cast<long>(source.rowCount());
    for (size_t i = 0; i < source.rowCount(); ++i) {
        auto& line = source.rows()[i];
        const size_t a = articles.ofRow(i);
        const std::string& article = articles.keys()[a][0];
        const auto date = line[dateColumn].toDateTime();
        std::string note = " ";
        if (hasOrders[a]) {
            note = noteOfArticle[a] == kNoNote ? std::string()
                                               : supplierOrderNote(notes.rowsAt(noteOfArticle[a]));
        }
        rows.addRow(valueRow(" " + (date ? date->isoDate() : std::string()),
                             leftChars(line[docColumn].takeText(), 20),
                             leftChars(line[customerColumn].takeText(), 80),
                             firstText(customers.rowsAt(documents.ofRow(i)), "CliLx", 80, " "),
                             lastSupplierName(suppliers.rowsAt(a)), hasOrders[a] ? "Sim" : "Não",
                             article, line[articleNameColumn].takeText(),
                             moneyCell(source, i, "Quant"),
                             estimatedDate(date, line[daysColumn], article), std::move(note)));
        std::vector<Value>().swap(line);
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return rows;
}

}  // namespace talvers
