#include "reports/pending/pending_orders.h"

#include <functional>
#include <optional>
#include <unordered_map>

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

// The first row's column cut to `size`, or `none` when the lookup found no row. A lookup
// whose text cannot be built safely is sent nowhere and counts as one that found nothing.
std::string lookupText(Connection& connection, const std::optional<std::string>& sql,
                       std::string_view column, size_t size, const char* none) {
    if (!sql) return none;
    const Table result = connection.query(*sql);
    if (result.rowCount() < 1) return none;
    return leftChars(result.at(0, column).toText(), size);
}

// Per-run memo of a function query by article code (exact, case-sensitive match): the first
// text written for an article is reused for every later line of it, even an empty one.
using ArticleMemo = std::unordered_map<std::string, std::string>;

const std::string& memoized(ArticleMemo& memo, const std::string& article,
                            const std::function<std::string()>& lookup) {
    auto found = memo.find(article);
    if (found == memo.end()) found = memo.emplace(article, lookup()).first;
    return found->second;
}

std::string lastSupplierName(Connection& bd, const std::string& article) {
    const Table result = bd.query(lastSupplierSql(article));
    if (result.rowCount() < 1) return " ";
    std::string name = leftChars(result.at(0, "NOME").toText(), 80);
    flattenLineFeeds(name);
    return name;
}

}  // namespace

ReportOutput pendingOrdersOutput() {
    return {"Enc. Pendentes", "Encomendas Pendentes em "};
}

Table runPendingOrders(Connection& bd, Connection& bdExt, const DateTime& startDate,
                       ReportProgress& progress) {
    Table rows(pendingOrderFields());
    const Table orders = bd.query(pendingOrdersSql(startDate));
    if (orders.empty()) return rows;
    const OrderColumns col(orders);
    ArticleMemo supplierOrders;
    ArticleMemo deliveryNotes;

    const long count = static_cast<long>(orders.rowCount());
    for (size_t i = 0; i < orders.rowCount(); ++i) {
        const auto& order = orders.row(i);
        const std::string doc = order[col.doc].toText();
        const std::string article = order[col.artigo].toText();
        std::string supplier = lastSupplierName(bd, article);

        // The Lisbon lookups use the whole key: the 20-character copy may have lost the number.
        const auto parts = splitText(doc, '/');
        auto part = [&parts](size_t n) { return n < parts.size() ? parts[n] : std::string(); };
        const std::string lisbonOrder = lookupText(
            bdExt, lisbonOrderSql(part(0), part(2), part(1), part(3)), "EncCliLx", 20, " ");
        const std::string lisbonCustomer = lookupText(
            bdExt, lisbonCustomerSql(part(0), part(2), part(1), part(3)), "CliLx", 80, " ");
        const std::string encForn = memoized(supplierOrders, article, [&] {
            return lookupText(bd, supplierOrdersSql(article), "EncForn", 100, " ");
        });
        const std::string guiaForn = memoized(deliveryNotes, article, [&] {
            return lookupText(bd, deliveryNotesSql(article), "GuiaForn", 100, "");
        });

        rows.addRow({
            leftChars(doc, 20),
            leftChars(order[col.nome].toText(), 30),
            " " + dateText(order[col.data]),
            " " + order[col.terceiro].toText(),
            leftChars(order[col.nomeCli].toText(), 80),
            article,
            moneyCell(orders, i, "Valor"),
            std::move(supplier),
            moneyCell(orders, i, "Quant"),
            moneyCell(orders, i, "StockDisp"),
            moneyCell(orders, i, "StockReal"),
            leftChars(order[col.obs].toText(), 100),
            leftChars(order[col.separado].toText(), 40),
            lisbonOrder,
            lisbonCustomer,
            encForn,
            guiaForn,
        });
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return rows;
}

}  // namespace talvers
