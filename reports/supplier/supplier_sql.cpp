#include "reports/supplier/supplier_sql.h"

#include "shell/dataaccess/sql_literal.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr std::string_view kDocWithLine =
    " SELECT c.data,c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as "
    "nvarchar(10))+'/'+Cast(l.NUMLINHA as nvarchar(4)) as Doc,";
constexpr std::string_view kOrderLines =
    " FROM    DOCGCCAB as c INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = "
    "l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO";
constexpr std::string_view kLineOfHeader =
    "c.NNUMDOC = l.NNUMDOC AND c.TPDOC = l.TPDOCUM AND c.SERIE = l.SERIE AND c.ANO = l.ANO";
constexpr std::string_view kSupplierFilter =
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
    "l.ARTIGO >''";
constexpr std::string_view kSupplierNoteJoin =
    " INNER JOIN  U_DOCGCLIN as u ON u.NNUMDOC = l.NNUMDOC AND u.Tpdocum = l.TPDOCUM AND u.SERIE "
    "= l.SERIE AND u.ANO = l.ANO and u.Numlinha=l.NumLinha";
// Supplier lines oldest first; the line's key makes the order total.
constexpr std::string_view kSupplierLinesOrder =
    "c.Data, l.TpDocum, l.Ano, l.Serie, l.NNumDoc, l.NumLinha";

std::string concat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

std::string dateCondition(const DateTime& startDate) {
    return concat({" and c.Data >= CONVERT(DATETIME, '", startDate.isoDate(), "', 102)"});
}

// The joins, filters and order both variants' customer-lines queries share after their
// column lists.
std::string customerLinesTail(const DateTime& startDate) {
    return concat({kOrderLines, " Inner Join Clientes as cl ON cl.Codigo=c.Terceiro",
                   " Inner Join Artigos as ar ON ar.Codigo=l.Artigo",
                   " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=2 and l.quant>0 and "
                   "[convert]<>-1 and l.ARTIGO >'' and ar.ArtouDes=0",
                   dateCondition(startDate), " and c.Serie<>'0' ",
                   " Order by c.Data, c.TpDoc, c.Ano, c.Serie, c.NNumDoc, l.NumLinha"});
}

// The supplier-order filter on one article from the start date, shared by the total and the
// lines so that both always count the same supplier lines.
std::string supplierCondition(std::string_view article, const DateTime& startDate) {
    return concat(
        {kSupplierFilter, " and Artigo='", sqlQuoted(article), "' ", dateCondition(startDate)});
}

// The supplier lines of every article, read from the document headers: the supplier-order
// filter picks few headers, and starting from them spares reading every line of every article
// asked for. CROSS JOIN keeps that order on SQLite; the join conditions are in WHERE.
std::string supplierLinesFromHeaders(std::string_view columns, const DateTime& startDate) {
    return concat({"(select l.Artigo, ", columns,
                   " FROM    DOCGCCAB as c CROSS JOIN  DOCGCLIN as l", kSupplierFilter, " and ",
                   kLineOfHeader, dateCondition(startDate)});
}

}  // namespace

std::string bdcCustomerLinesSql(const DateTime& startDate) {
    return concat({kDocWithLine, " cl.Nome as NomeCli,", " l.Artigo,", " l.Quant,",
                   " ar.Nome as 'NomeArtigo',", " '' as Notas", customerLinesTail(startDate)});
}

std::string diidCustomerLinesSql(const DateTime& startDate) {
    return concat({kDocWithLine, " cl.Nome as NomeCli,", " '' as NomeForn,", " '' as EncForn,",
                   " l.Artigo,", " l.Quant,", " ar.Nome as 'NomeArtigo',", " ar.DiasSkRs as Dias",
                   customerLinesTail(startDate)});
}

std::string articleStockSql(std::string_view article) {
    return concat(
        {"Select coalesce(sum(Existenc),0) as Existencia from ArtArm where "
         "(Armazem='001' or Armazem='002') and Artigo='",
         sqlQuoted(article), "' "});
}

std::string supplierTotalSql(std::string_view article, const DateTime& startDate) {
    return concat({"Select coalesce(sum(l.Quant),0) as Qtd ", kOrderLines,
                   supplierCondition(article, startDate)});
}

std::string supplierLinesSql(std::string_view article, const DateTime& startDate) {
    return concat({"Select coalesce((l.Quant),0) as Qtd,u.Obs ", kOrderLines, kSupplierNoteJoin,
                   supplierCondition(article, startDate), " order by ", kSupplierLinesOrder});
}

std::optional<std::string> supplierOrderNoteSql(std::string_view type, std::string_view year,
                                                std::string_view series, std::string_view number,
                                                std::string_view line) {
    const auto wholeYear = sqlWholeNumber(year);
    const auto wholeNumber = sqlWholeNumber(number);
    const auto wholeLine = sqlWholeNumber(line);
    if (!wholeYear || !wholeNumber || !wholeLine) return std::nullopt;
    return concat({"Select OBS from U_DocGCLin0 where Ano=", *wholeYear, " and TpDocum='",
                   sqlQuoted(trimBlanks(type)), "' and Serie='", sqlQuoted(series),
                   "' and NNumdoc=", *wholeNumber, " and NumLinha=", *wholeLine});
}

KeyedLookup articleStockLookup() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                return articleStockSql(key.at(0));
            },
            {"Artigo"},
            "T",
            {},
            [](std::string_view keys) {
                return concat({"select k.n, coalesce(sum(a.Existenc),0) as Existencia from ", keys,
                               " left join ArtArm as a on a.Artigo = k.Artigo and "
                               "(a.Armazem='001' or a.Armazem='002') group by k.n"});
            }};
}

// Both supplier-line lookups group or number the lines by their own Artigo column, so that a
// key finds exactly the lines its reference text's "=" finds, letter-case variants included.
KeyedLookup supplierTotalLookup(const DateTime& startDate) {
    return {[startDate](const LookupKey& key) -> std::optional<std::string> {
                return supplierTotalSql(key.at(0), startDate);
            },
            {"Artigo"},
            "T",
            {},
            [startDate](std::string_view keys) {
                return concat({"select k.n, coalesce(s.Qtd,0) as Qtd from ", keys, " left join ",
                               supplierLinesFromHeaders("sum(l.Quant) as Qtd", startDate),
                               " group by l.Artigo) as s on s.Artigo = k.Artigo"});
            }};
}

// The lines are read from the document headers, as the totals are, and the keys joined last: the key
// table is made distinct (its n already is) so that SQLite reads it once into a table it can
// index, rather than scan it again for every line. The lines of a key come in the reference
// text's order, written out in the ORDER BY after the key's n.
KeyedLookup supplierLinesLookup(const DateTime& startDate) {
    return {[startDate](const LookupKey& key) -> std::optional<std::string> {
                return supplierLinesSql(key.at(0), startDate);
            },
            {"Artigo"},
            "T",
            {},
            [startDate](std::string_view keys) {
                return concat({"select k.n, coalesce((l.Quant),0) as Qtd, u.Obs",
                               " FROM    DOCGCCAB as c CROSS JOIN  DOCGCLIN as l",
                               kSupplierNoteJoin, " CROSS JOIN (select distinct k.n, k.Artigo from ",
                               keys, ") as k", kSupplierFilter, " and ", kLineOfHeader,
                               dateCondition(startDate), " and l.Artigo = k.Artigo order by k.n, ",
                               kSupplierLinesOrder});
            }};
}

KeyedLookup supplierOrderNoteLookup() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                if (key.size() != 5) return std::nullopt;
                return supplierOrderNoteSql(key[0], key[1], key[2], key[3], key[4]);
            },
            {"TpDocum", "Ano", "Serie", "NNumdoc", "NumLinha"},
            "TNTNN",
            [](const LookupKey& key) -> std::optional<LookupKey> {
                if (key.size() != 5) return std::nullopt;
                return sendableParts({trimBlanks(key[0]), key[1], key[2], key[3], key[4]}, "TNTNN");
            },
            [](std::string_view keys) {
                return concat({"select k.n, u.OBS from ", keys,
                               " inner join U_DocGCLin0 as u on u.Ano = k.Ano and u.TpDocum = "
                               "k.TpDocum and u.Serie = k.Serie and u.NNumdoc = k.NNumdoc and "
                               "u.NumLinha = k.NumLinha"});
            }};
}

}  // namespace talvers
