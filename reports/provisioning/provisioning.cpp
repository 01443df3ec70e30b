#include "reports/provisioning/provisioning.h"

#include <optional>
#include <string_view>
#include <vector>

#include "reports/provisioning/provisioning_sql.h"
#include "shell/dataaccess/money_field.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr int kCodeSize = 20;  // article, short name and supplier codes
constexpr int kNameSize = 90;
constexpr int kSupplierNameSize = 80;

Table newResultTable() {
    return Table(std::vector<Field>{
        {"Artigo", FieldType::Text, kCodeSize},
        {"Abreviatura", FieldType::Text, kCodeSize},
        {"Nome Artigo", FieldType::Text, kNameSize},
        {"Vendas", FieldType::Money, 0},
        {"Existência", FieldType::Money, 0},
        {"Enc.Cli.", FieldType::Money, 0},
        {"Enc.Forn.", FieldType::Money, 0},
        {"Prazo", FieldType::Money, 0},
        {"Fornecedor", FieldType::Text, kCodeSize},
        {"Nome Fornecedor", FieldType::Text, kSupplierNameSize},
    });
}

Value moneyValue(const std::optional<Money>& money) {
    return money ? Value(*money) : Value();
}

// Codes and names reach the sheet with one leading blank; the text is cut to the field's size
// by characters, as a longer text does not fit the field.
Value withLeadingBlank(const Table& rows, size_t row, std::string_view column, size_t size) {
    return Value(leftChars(" " + rows.at(row, column).toText(), size));
}

Value flattenedName(const Table& rows, size_t row, std::string_view column, size_t size) {
    std::string name = rows.at(row, column).toText();
    flattenLineFeeds(name);
    return Value(leftChars(name, size));
}

}  // namespace

ReportOutput provisioningOutput() {
    return {"Mapa Parovisionamento", "Mapa Aprovisionamento em "};
}

Table runProvisioning(Connection& bd, bool companyVariant, const ProvisioningFilter& filter,
                      ReportProgress& progress) {
    Table result = newResultTable();
    const Table rows = bd.query(provisioningSql(companyVariant, filter));
    const long count = static_cast<long>(rows.rowCount());
    for (size_t i = 0; i < rows.rowCount(); ++i) {
        const std::optional<Money> sales = moneyField(rows, i, "Vendas");
        const std::optional<Money> stock = moneyField(rows, i, "Existenc");
        const std::optional<Money> customerOrders = moneyField(rows, i, "TotEncCl");
        const std::optional<Money> supplierOrders = moneyField(rows, i, "TotEncFo");
        // A null among the four makes the sum null, and such a row is left out like one whose
        // four values add up to exactly 0.
        if (sales && stock && customerOrders && supplierOrders &&
            !(*sales + *stock + *customerOrders + *supplierOrders).isZero()) {
            result.addRow({
                withLeadingBlank(rows, i, "Codigo", kCodeSize),
                withLeadingBlank(rows, i, "Abrev", kCodeSize),
                withLeadingBlank(rows, i, "Nome", kNameSize),
                moneyValue(sales),
                moneyValue(stock),
                moneyValue(customerOrders),
                moneyValue(supplierOrders),
                moneyValue(moneyField(rows, i, "Prazo")),
                withLeadingBlank(rows, i, "Fornec", kCodeSize),
                flattenedName(rows, i, "Nome Fornecedor", kSupplierNameSize),
            });
        }
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return result;
}

}  // namespace talvers
