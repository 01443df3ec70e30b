#include "reports/pending/pending_orders.h"

#include "reports/lookup/distinct_keys.h"
#include "reports/lookup/lookup_answers.h"
#include "reports/lookup/orders/lookup_cells.h"
#include "reports/lookup/orders/order_lookups_sql.h"
#include "reports/pending/pending_orders_sql.h"
#include "shell/dataaccess/money_field.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

// Article codes are kept whole even beyond the field's 15 characters, and customer codes
// beyond 19: a code cut short would name another article or customer, so the workbook shows
// the code as the ERP has it (the workbook writer does not enforce field sizes).
std::vector<Field> pendingOrderFields() {
    return {
        {"Doc.", FieldType::Text, 20},         {"Nome Vendedor", FieldType::Text, 30},
        {"Data", FieldType::Text, 15},         {"Cliente", FieldType::Text, 20},
        {"Nome Cliente", FieldType::Text, 80}, {"Artigo", FieldType::Text, 15},
        {"Valor", FieldType::Money, 0},        {"Nome Fornecedor", FieldType::Text, 80},
        {"Quant.", FieldType::Money, 0},       {"Stock Disp.", FieldType::Money, 0},
        {"Stock Real", FieldType::Money, 0},   {"OBS", FieldType::Text, 100},
        {"Separado", FieldType::Text, 40},     {"Enc Cli Lx", FieldType::Text, 20},
        {"Cli Lx", FieldType::Text, 80},       {"Enc Forn", FieldType::Text, 100},
        {"Guia Forn", FieldType::Text, 100},
    };
}

// Positions of the main query's columns, resolved once by name.
struct OrderColumns {
    explicit OrderColumns(const Table& t)
        : doc(t.requireField("Doc")),
          nome(t.requireField("Nome")),
          data(t.requireField("data")),
          terceiro(t.requireField("Terceiro")),
          nomeCli(t.requireField("NomeCli")),
          artigo(t.requireField("Artigo")),
          valor(t.requireField("Valor")),
          quant(t.requireField("Quant")),
          stockDisp(t.requireField("StockDisp")),
          stockReal(t.requireField("StockReal")),
          obs(t.requireField("OBS")),
          separado(t.requireField("Separado")) {}
    size_t doc, nome, data, terceiro, nomeCli, artigo, valor, quant, stockDisp, stockReal, obs,
        separado;
};

// The order date as "yyyy-mm-dd"; a value that is no date is shown as the database gave it.
std::string dateText(const Value& value) {
    const auto date = value.toDateTime();
    return date ? date->isoDate() : value.toText();
}

// Every lookup of the run, fetched for all its keys before the rows are written and read by
// row position. The function texts are asked once per article, so the first answer for an
// article is the one every later line of it shows, even an empty one.
struct PendingLookups {
    PendingLookups(const ErpSession& session, const Table& orders, const OrderColumns& col,
                   const ReportProgress& progress) {
        Connection& bd = session.main;
        Connection& bdExt = session.external;
        const LookupMode mode = session.lookups;
        for (const auto& order : orders.rows()) {
            articles.add({order[col.artigo].toText()});
            documents.add(lisbonKey(order[col.doc].toText()));
        }
        suppliers = fetchLookup(bd, lastSupplierLookup(), articles.keys(), mode, progress);
        lisbonOrders = fetchLookup(bdExt, lisbonOrderLookup(), documents.keys(), mode, progress);
        lisbonCustomers =
            fetchLookup(bdExt, lisbonCustomerLookup(), documents.keys(), mode, progress);
        supplierOrders = fetchLookup(bd, supplierOrdersLookup(), articles.keys(), mode, progress);
        deliveryNotes = fetchLookup(bd, deliveryNotesLookup(), articles.keys(), mode, progress);
    }
    DistinctKeys articles, documents;
    LookupAnswers suppliers, lisbonOrders, lisbonCustomers, supplierOrders, deliveryNotes;
};

}  // namespace

ReportOutput pendingOrdersOutput() {
    return {"Enc. Pendentes", "Encomendas Pendentes em "};
}

Table runPendingOrders(const ErpSession& session, const PendingOrdersRequest& request,
                       ReportProgress& progress) {
    Table rows(pendingOrderFields());
    Table orders = session.main.query(pendingOrdersSql(request.startDate));
    if (orders.empty()) return rows;
    const OrderColumns col(orders);
    const PendingLookups lookups(session, orders, col, progress);

    // Each order row gives its texts to its report row and is let go, so that the two tables
    // are not held whole side by side.
    rows.rows().reserve(orders.rowCount());
    const long count = static_cast<long>(orders.rowCount());
    for (size_t i = 0; i < orders.rowCount(); ++i) {
        auto& order = orders.rows()[i];
        const size_t article = lookups.articles.ofRow(i);
        const size_t document = lookups.documents.ofRow(i);
        rows.addRow(valueRow(
            leftChars(order[col.doc].takeText(), 20), leftChars(order[col.nome].takeText(), 30),
            " " + dateText(order[col.data]), " " + order[col.terceiro].toText(),
            leftChars(order[col.nomeCli].takeText(), 80), order[col.artigo].takeText(),
            moneyCell(orders, i, "Valor"), lastSupplierName(lookups.suppliers.rowsAt(article)),
            moneyCell(orders, i, "Quant"), moneyCell(orders, i, "StockDisp"),
            moneyCell(orders, i, "StockReal"), leftChars(order[col.obs].takeText(), 100),
            leftChars(order[col.separado].takeText(), 40),
            firstText(lookups.lisbonOrders.rowsAt(document), "EncCliLx", 20, " "),
            firstText(lookups.lisbonCustomers.rowsAt(document), "CliLx", 80, " "),
            firstText(lookups.supplierOrders.rowsAt(article), "EncForn", 100, " "),
            firstText(lookups.deliveryNotes.rowsAt(article), "GuiaForn", 100, "")));
        std::vector<Value>().swap(order);
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return rows;
}

}  // namespace talvers
