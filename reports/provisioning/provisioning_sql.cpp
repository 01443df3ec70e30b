#include "reports/provisioning/provisioning_sql.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {
namespace {

// The warehouses the default variant sums its stock and orders over.
constexpr std::string_view kFirstWarehouse = "001";
constexpr std::string_view kSecondWarehouse = "002";
// The alternate variant's, written into its fragments.
constexpr std::string_view kFirstAlternateWarehouse = "002";
constexpr std::string_view kSecondAlternateWarehouse = "004";

// "(<column>='002' OR <column>='004')" with the alternate variant's warehouses, in the spelling
// of the fragment it stands in.
std::string alternateWarehouses(std::string_view column, std::string_view orWord) {
    std::string sql = "(";
    for (const std::string_view warehouse : {kFirstAlternateWarehouse, kSecondAlternateWarehouse}) {
        if (sql.size() > 1) sql.append(" ").append(orWord).append(" ");
        sql.append(column).append("='").append(warehouse).append("'");
    }
    return sql + ")";
}

// Articles of the same projected stock follow their code, so that no tie is left to the
// database.
constexpr std::string_view kArticleTieBreak = ", ar.Codigo";

constexpr std::string_view kStockHead = " (select coalesce(sum(existenc),0) from ArtArm as aa";
constexpr std::string_view kCustomerOrderHead =
    " (select coalesce(sum(ArmEncCl),0) from ArtArm as aa";
constexpr std::string_view kSupplierOrderHead =
    " (select coalesce(sum(ArmEncFo),0) from ArtArm as aa";

std::string warehouseBlock(std::string_view head, std::string_view tail) {
    std::string sql(head);
    sql += " where aa.Artigo=ar.Codigo and (aa.Armazem='";
    sql += sqlQuoted(kFirstWarehouse);
    sql += "' or aa.Armazem='";
    sql += sqlQuoted(kSecondWarehouse);
    sql += tail;
    return sql;
}

// Stock minus customer orders plus supplier orders over the pair; it is both the "Prazo"
// column and the sort key, each time with its own closing tail.
std::string projectedStock(std::string_view lastTail) {
    return warehouseBlock(kStockHead, "' )) -") + warehouseBlock(kCustomerOrderHead, "' )) +") +
           warehouseBlock(kSupplierOrderHead, lastTail);
}

// The start of the sales subquery, the same in both variants: lines joined to their headers
// and the header's date within the range.
std::string salesRange(const DateTime& firstDate, const DateTime& lastDate) {
    std::string sql =
        " (select coalesce(sum((ABS(c .TPTERC - c.SINALCT) * 2 - 1)*(l.QtdOrig)),0) from "
        "Docgccab as c";
    sql +=
        " inner join DOCGCLIN as l ON l.tpdocum=c.Tpdoc and l.Nnumdoc=c.NNumdoc and "
        "l.serie=c.serie and l.ano=c.ano";
    sql += " where c.Data>=CONVERT(DATETIME, '";
    sql += provisioningFirstDateText(firstDate);
    sql += "', 102) and c.Data<=CONVERT(DATETIME, '";
    sql += provisioningLastDateText(lastDate);
    sql += "', 102) ";
    return sql;
}

}  // namespace

std::string provisioningFirstDateText(const DateTime& date) {
    return date.isoDate() + " 00:00";
}

std::string provisioningLastDateText(const DateTime& date) {
    return date.isoDate() + " 23:59";
}

std::string provisioningDefaultSql(const DateTime& firstDate, const DateTime& lastDate) {
    std::string sql = " select ar.Codigo, ar.Abrev,ar.Nome,";
    sql += salesRange(firstDate, lastDate);
    sql +=
        " And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1 and "
        "l.artigo=ar.Codigo";
    sql += " ) as Vendas,";
    sql += warehouseBlock(kStockHead, "' )) as Existenc,");
    sql += warehouseBlock(kCustomerOrderHead, "' )) as TotEncCl,");
    sql += warehouseBlock(kSupplierOrderHead, "' )) as TotEncFo,");
    sql += projectedStock("' )) as Prazo,");
    sql += " coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'";
    sql += " from Artigos as ar";
    sql += " left outer Join Fornec as f ON f.Codigo=ar.Fornec";
    sql += " Where ar.ArtouDes = 0";
    sql += " Order By";
    sql += projectedStock("' ))");
    sql += kArticleTieBreak;
    return sql;
}

std::string provisioningAlternateSql(const DateTime& firstDate, const DateTime& lastDate,
                                     std::string_view group, std::string_view family) {
    std::string sql = " select ar.Codigo, ar.Abrev,ar.Nome, ";
    sql += salesRange(firstDate, lastDate);
    sql += "   And c.nvias <> -1 And c.AREAG = 4 And c.tpterc = 2 And c.natconta = 1";
    const std::string stockRows = alternateWarehouses("ArtArm.Armazem", "OR");
    sql += " and l.artigo=ar.Codigo and " + alternateWarehouses("l.armazem", "or") + " ";
    sql += " ) as Vendas,";
    sql += " (Select sum(Existenc) from ArtArm where " + stockRows +
           " and ArtArm.Artigo=ar.Codigo) as Existenc,";
    sql += " ar.TotEncCl,ar.TotEncFo , ";
    sql += " (Select sum(Existenc) from ArtArm where " + stockRows +
           " and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo as Prazo";
    sql += " ,coalesce(ar.Fornec,' ') as Fornec, coalesce(f.Nome,' ') as 'Nome Fornecedor'";
    sql += " from Artigos as ar left outer join ArtArm as aa ON aa.artigo=ar.Codigo";
    sql += " left outer Join Fornec as f ON f.Codigo=ar.Fornec";
    sql += " Where ar.ArtouDes = 0 and " + alternateWarehouses("aa.Armazem", "or");
    if (!group.empty()) sql += " and ar.Grupo='" + sqlQuoted(group) + "' ";
    if (!family.empty()) sql += " and ar.familia='" + sqlQuoted(family) + "' ";
    sql +=
        " group by ar.Codigo, ar.Abrev,ar.Nome,ar.TotEncCl,ar.TotEncFo,coalesce(ar.Fornec,' '), "
        "coalesce(f.Nome,' ')";
    sql += " order by (Select sum(Existenc) from ArtArm where " + stockRows + " ";
    sql += " and ArtArm.Artigo=ar.Codigo)-ar.TotEncCl+ar.TotEncFo";
    sql += kArticleTieBreak;
    return sql;
}

std::array<std::string_view, 2> provisioningWarehouses(bool companyVariant) {
    if (companyVariant) return {kFirstAlternateWarehouse, kSecondAlternateWarehouse};
    return {kFirstWarehouse, kSecondWarehouse};
}

std::string provisioningSql(bool companyVariant, const ProvisioningRequest& filter) {
    return companyVariant ? provisioningAlternateSql(filter.firstDate, filter.lastDate,
                                                     filter.group, filter.family)
                          : provisioningDefaultSql(filter.firstDate, filter.lastDate);
}

}  // namespace talvers
