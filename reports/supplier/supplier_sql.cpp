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
constexpr std::string_view kSupplierWhere =
    " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 and [convert]<>-1 and "
    "l.ARTIGO >'' and Artigo='";

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
                   dateCondition(startDate), " and c.Serie<>'0' ", " Order by c.Data"});
}

// The supplier-order filter on one article from the start date, shared by the total and the
// lines so that both always count the same supplier lines.
std::string supplierCondition(std::string_view article, const DateTime& startDate) {
    return concat({kSupplierWhere, sqlQuoted(article), "' ", dateCondition(startDate)});
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
    return concat({"Select coalesce((l.Quant),0) as Qtd,u.Obs ", kOrderLines,
                   " INNER JOIN  U_DOCGCLIN as u ON u.NNUMDOC = l.NNUMDOC AND u.Tpdocum = "
                   "l.TPDOCUM AND u.SERIE = l.SERIE AND u.ANO = l.ANO and u.Numlinha=l.NumLinha",
                   supplierCondition(article, startDate)});
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

}  // namespace talvers
