// ExtrairDIID: one row per open customer line with the article's last supplier, the customer of
// the external company's order it was exported from, whether the article has open supplier
// orders (with the first one's note) and the estimated date.
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
    const Table source = bd.query(diidCustomerLinesSql(startDate));
    Table rows = supplierOrdersTable();
    if (source.empty()) return rows;
    std::vector<LookupKey> articles;
    std::vector<LookupKey> documents;
    for (size_t i = 0; i < source.rowCount(); ++i) {
        articles.push_back({source.at(i, "Artigo").toText()});
        documents.push_back(lisbonKey(source.at(i, "Doc").toText()));
    }
    const LookupAnswers suppliers = fetchLookup(bd, lastSupplierLookup(), articles, mode, progress);
    const LookupAnswers customers =
        fetchLookup(session.external, lisbonCustomerLookup(), documents, mode, progress);
    // The supplier-order text is asked once per article (codes compared exactly, letter case
    // counts); the note of its first key is a second step, for the texts that name a line.
    const LookupAnswers orderTexts =
        fetchLookup(bd, supplierOrdersLookup(), articles, mode, progress);
    std::vector<LookupKey> noteKeys;
    for (const LookupKey& article : articles) {
        const std::string text = firstText(orderTexts.rowsOf(article), "EncForn", 100, "");
        if (const auto key = text.empty() ? std::nullopt : supplierOrderNoteKey(text)) {
            noteKeys.push_back(*key);
        }
    }
    const LookupAnswers notes =
        fetchLookup(bd, supplierOrderNoteLookup(), noteKeys, mode, progress);

    const long count = static_cast<long>(source.rowCount());
    for (size_t i = 0; i < source.rowCount(); ++i) {
        const std::string doc = source.at(i, "Doc").toText();
        const LookupKey& article = articles[i];
        const auto date = source.at(i, "data").toDateTime();
        const std::string orderText = firstText(orderTexts.rowsOf(article), "EncForn", 100, "");
        const bool hasOrders = !orderText.empty();
        std::string note = " ";
        if (hasOrders) {
            const auto key = supplierOrderNoteKey(orderText);
            note = key ? supplierOrderNote(notes.rowsOf(*key)) : std::string();
        }
        rows.addRow({" " + (date ? date->isoDate() : std::string()), leftChars(doc, 20),
                     leftChars(source.at(i, "NomeCli").toText(), 80),
                     firstText(customers.rowsOf(documents[i]), "CliLx", 80, " "),
                     lastSupplierName(suppliers.rowsOf(article)), hasOrders ? "Sim" : "Não",
                     article[0], source.at(i, "NomeArtigo").toText(), moneyCell(source, i, "Quant"),
                     estimatedDate(date, source.at(i, "Dias"), article[0]), std::move(note)});
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return rows;
}

}  // namespace talvers
