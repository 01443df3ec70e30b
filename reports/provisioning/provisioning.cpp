#include "reports/provisioning/provisioning.h"

#include <initializer_list>
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

// Codes and short names reach the sheet with one leading blank and whole: they hold up to 20
// characters, and the blank must not cost them their last one (a code cut short would name
// another article). Names are cut to their field's size by characters.
Value withLeadingBlank(const Table& rows, size_t row, std::string_view column) {
    return Value(" " + rows.at(row, column).toText());
}

Value nameWithLeadingBlank(const Table& rows, size_t row, std::string_view column, size_t size) {
    return Value(leftChars(" " + rows.at(row, column).toText(), size));
}

Value flattenedName(const Table& rows, size_t row, std::string_view column, size_t size) {
    std::string name = rows.at(row, column).toText();
    flattenLineFeeds(name);
    return Value(leftChars(name, size));
}

// The report's sums are made by the database, and SQLite's sum() takes a text that is no number
// ("muito") as 0. These queries find the stored quantities that are not numbers (x <> x + 0 holds
// only for those), and each is reported through the same reading as every other quantity,
// naming the article. Only a database whose columns may hold such a text is asked: on SQL
// Server they are numeric, and the three scans of whole tables would find nothing.
struct QuantityCheck {
    const char* sql;
    const char* articleColumn;
    std::initializer_list<std::string_view> columns;
};

void refuseQuantitiesThatAreNoNumbers(Connection& bd, const ProvisioningRequest& filter) {
    if (bd.holdsOnlyDeclaredTypes()) return;
    const std::string salesLines =
        "select l.Artigo, l.QtdOrig from Docgccab as c inner join DOCGCLIN as l ON "
        "l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and l.serie=c.serie and l.ano=c.ano where "
        "c.Data>=CONVERT(DATETIME, '" +
        provisioningFirstDateText(filter.firstDate) + "', 102) and c.Data<=CONVERT(DATETIME, '" +
        provisioningLastDateText(filter.lastDate) + "', 102) and l.QtdOrig <> l.QtdOrig + 0";
    const QuantityCheck checks[] = {
        {salesLines.c_str(), "Artigo", {"QtdOrig"}},
        {"select Artigo, Existenc, ArmEncCl, ArmEncFo from ArtArm where Existenc <> Existenc + 0 "
         "or ArmEncCl <> ArmEncCl + 0 or ArmEncFo <> ArmEncFo + 0",
         "Artigo",
         {"Existenc", "ArmEncCl", "ArmEncFo"}},
        {"select Codigo, TotEncCl, TotEncFo from Artigos where TotEncCl <> TotEncCl + 0 or "
         "TotEncFo <> TotEncFo + 0",
         "Codigo",
         {"TotEncCl", "TotEncFo"}},
    };
    for (const QuantityCheck& check : checks) {
        const Table rows = bd.query(check.sql);
        for (size_t i = 0; i < rows.rowCount(); ++i) {
            const std::string article = rows.at(i, check.articleColumn).toText();
            for (const std::string_view column : check.columns)
                moneyField(rows, i, column, article);
        }
    }
}

}  // namespace

ReportOutput provisioningOutput() {
    return {"Mapa Parovisionamento", "Mapa Aprovisionamento em "};
}

Table runProvisioning(const ErpSession& session, const ProvisioningRequest& filter,
                      ReportProgress& progress) {
    Connection& bd = session.main;
    const bool companyVariant = session.companyVariant;
    Table result = newResultTable();
    refuseQuantitiesThatAreNoNumbers(bd, filter);
    const Table rows = bd.query(provisioningSql(companyVariant, filter));
    const long count = static_cast<long>(rows.rowCount());
    for (size_t i = 0; i < rows.rowCount(); ++i) {
        const std::string article = rows.at(i, "Codigo").toText();
        // A null among the four makes the sum null, and such a row is left out like one whose
        // four values add up to exactly 0.
        const std::optional<Money> sum =
            moneySum(rows, i, {"Vendas", "Existenc", "TotEncCl", "TotEncFo"}, article);
        if (sum && !sum->isZero()) {
            result.addRow({
                withLeadingBlank(rows, i, "Codigo"),
                withLeadingBlank(rows, i, "Abrev"),
                nameWithLeadingBlank(rows, i, "Nome", kNameSize),
                moneyValue(moneyField(rows, i, "Vendas", article)),
                moneyValue(moneyField(rows, i, "Existenc", article)),
                moneyValue(moneyField(rows, i, "TotEncCl", article)),
                moneyValue(moneyField(rows, i, "TotEncFo", article)),
                moneyValue(moneyField(rows, i, "Prazo", article)),
                withLeadingBlank(rows, i, "Fornec"),
                flattenedName(rows, i, "Nome Fornecedor", kSupplierNameSize),
            });
        }
        reportProgress(progress, static_cast<long>(i) + 1, count);
    }
    return result;
}

}  // namespace talvers
