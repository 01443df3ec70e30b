#include "reports/lookup/orders/order_lookups_sql.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {
namespace {

struct WholeNumbers {
    std::string year;
    std::string number;
};

// Both Lisbon lookups splice the year and number bare; a part that is not a whole number
// (a series holding "/" shifts the parts of the key) must never reach the server.
std::optional<WholeNumbers> wholeYearAndNumber(std::string_view year, std::string_view number) {
    auto y = sqlWholeNumber(year);
    auto n = sqlWholeNumber(number);
    if (!y || !n) return std::nullopt;
    return WholeNumbers{std::move(*y), std::move(*n)};
}

// The rules that make a lookup's first row one and the same whatever order the database reads
// its rows in; the reference texts and the set-based ones end the same way.
constexpr std::string_view kLastSupplierTieBreak = ", f.CODIGO ";
constexpr std::string_view kLisbonOrderOrder =
    "de.OrigTpDoc, de.OrigAno, de.OrigSerie, de.OrigNumero";
constexpr std::string_view kLisbonCustomerOrder =
    "delx.OrigTpDoc, delx.OrigAno, delx.OrigSerie, delx.OrigNumero, cllx.Codigo";

// The key table columns of the document lookups.
const std::vector<std::string> kDocumentColumns = {"TpDoc", "Serie", "Ano", "Numero"};

// A document's key parts as the Lisbon builders take them: type, series, year, number.
std::optional<std::string> lisbonSql(
    const LookupKey& key, std::optional<std::string> (*build)(std::string_view, std::string_view,
                                                              std::string_view, std::string_view)) {
    if (key.size() != 4) return std::nullopt;
    return build(key[0], key[1], key[2], key[3]);
}

// The supplier-order and delivery-note texts for many articles: the installed function,
// called once per article inside one statement.
KeyedLookup documentKeyFunctionLookup(std::string (*perRow)(std::string_view),
                                      std::string_view function, std::string_view column) {
    return {
        [perRow](const LookupKey& key) -> std::optional<std::string> { return perRow(key.at(0)); },
        {"Artigo"},
        "T",
        {},
        [function = std::string(function), column = std::string(column)](std::string_view keys) {
            return "select k.n, dbo." + function + " (k.Artigo ) as " + column + " from " +
                   std::string(keys);
        }};
}

}  // namespace

std::string lastSupplierSql(std::string_view article) {
    return " SELECT TOP (1) f.NOME FROM  AJUDACMP AS aj "
           " INNER JOIN FORNEC AS f ON f.CODIGO = aj.FORNECED "
           " Where (aj.ARTIGO = '" +
           sqlQuoted(article) +
           "' ) "
           " ORDER BY aj.DATA DESC " +
           std::string(kLastSupplierTieBreak);
}

std::optional<std::string> lisbonOrderSql(std::string_view type, std::string_view series,
                                          std::string_view year, std::string_view number) {
    const auto numbers = wholeYearAndNumber(year, number);
    if (!numbers) return std::nullopt;
    return " select de.OrigTpDoc+'/'+CAST( de.OrigAno as nvarchar(4))+'/'+de.OrigSerie+'/'+"
           "CAST(de.OrigNumero as nvarchar(10)) as 'EncCliLx'"
           " from qor_documentosexportados as de "
           " where de.EncTpDoc='" +
           sqlQuoted(type) + "' and de.EncSerie='" + sqlQuoted(series) +
           "' "
           " and de.EncAno=" +
           numbers->year + " and de.EncNumero=" + numbers->number + " order by " +
           std::string(kLisbonOrderOrder);
}

std::optional<std::string> lisbonCustomerSql(std::string_view type, std::string_view series,
                                             std::string_view year, std::string_view number) {
    const auto numbers = wholeYearAndNumber(year, number);
    if (!numbers) return std::nullopt;
    return " select cllx.Nome as 'CliLx' from qor_documentosexportados as delx "
           " Inner Join  DocGcCab as clx "
           " ON delx.origTpDoc=clx.TpDoc and delx.origSerie=clx.Serie and delx.origAno=clx.Ano "
           "and delx.origNumero=clx.NNumdoc"
           " inner Join Clientes as cllx "
           " ON cllx.Codigo=clx.Terceiro "
           " where delx.encTpDoc='" +
           sqlQuoted(type) + "' and delx.encSerie='" + sqlQuoted(series) +
           "' and delx.EncAno=" + numbers->year + " and delx.EncNumero=" + numbers->number +
           " order by " + std::string(kLisbonCustomerOrder);
}

std::string supplierOrdersSql(std::string_view article) {
    return " select dbo.qor_LinhaParaString ('" + sqlQuoted(article) + "' ) as EncForn";
}

std::string deliveryNotesSql(std::string_view article) {
    return " select dbo.qor_LinhaParaStringGuia ('" + sqlQuoted(article) + "' ) as GuiaForn";
}

KeyedLookup lastSupplierLookup() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                return lastSupplierSql(key.at(0));
            },
            {"Artigo"},
            "T",
            {},
            [](std::string_view keys) {
                return "select q.n, q.NOME from (select k.n, f.NOME, ROW_NUMBER() OVER "
                       "(PARTITION BY k.n ORDER BY aj.DATA DESC " +
                       std::string(kLastSupplierTieBreak) + ") as rn from " + std::string(keys) +
                       " INNER JOIN AJUDACMP AS aj ON aj.ARTIGO = k.Artigo"
                       " INNER JOIN FORNEC AS f ON f.CODIGO = aj.FORNECED) as q where q.rn = 1";
            }};
}

KeyedLookup lisbonOrderLookup() {
    return {[](const LookupKey& key) { return lisbonSql(key, lisbonOrderSql); },
            kDocumentColumns,
            "TTNN",
            {},
            [](std::string_view keys) {
                return "select k.n, de.OrigTpDoc+'/'+CAST( de.OrigAno as nvarchar(4))+'/'+"
                       "de.OrigSerie+'/'+CAST(de.OrigNumero as nvarchar(10)) as 'EncCliLx' from " +
                       std::string(keys) +
                       " inner join qor_documentosexportados as de on de.EncTpDoc = k.TpDoc and "
                       "de.EncSerie = k.Serie and de.EncAno = k.Ano and de.EncNumero = k.Numero " +
                       "order by k.n, " + std::string(kLisbonOrderOrder);
            }};
}

KeyedLookup lisbonCustomerLookup() {
    return {[](const LookupKey& key) { return lisbonSql(key, lisbonCustomerSql); },
            kDocumentColumns,
            "TTNN",
            {},
            [](std::string_view keys) {
                return "select k.n, cllx.Nome as 'CliLx' from " + std::string(keys) +
                       " inner join qor_documentosexportados as delx on delx.encTpDoc = k.TpDoc "
                       "and delx.encSerie = k.Serie and delx.EncAno = k.Ano and delx.EncNumero = "
                       "k.Numero"
                       " Inner Join  DocGcCab as clx "
                       " ON delx.origTpDoc=clx.TpDoc and delx.origSerie=clx.Serie and "
                       "delx.origAno=clx.Ano and delx.origNumero=clx.NNumdoc"
                       " inner Join Clientes as cllx "
                       " ON cllx.Codigo=clx.Terceiro " +
                       "order by k.n, " + std::string(kLisbonCustomerOrder);
            }};
}

KeyedLookup supplierOrdersLookup() {
    return documentKeyFunctionLookup(supplierOrdersSql, "qor_LinhaParaString", "EncForn");
}

KeyedLookup deliveryNotesLookup() {
    return documentKeyFunctionLookup(deliveryNotesSql, "qor_LinhaParaStringGuia", "GuiaForn");
}

}  // namespace talvers
