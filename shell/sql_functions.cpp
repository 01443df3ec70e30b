#include "shell/sql_functions.h"

#include <string_view>

namespace talvers {
namespace {

// Fragments 2 to 11 and 13 to 16 are shared; the name and the document filter differ.
std::string createFunctionSql(std::string_view nameLine, std::string_view filterLine) {
    std::string sql;
    sql += nameLine;
    sql += " ( @Artigo nvarchar (15)";
    sql += " )";
    sql += " RETURNS NVARCHAR(4000)";
    sql += " AS";
    sql += " BEGIN";
    sql += " DECLARE @SubFamilias VARCHAR(4000)";
    sql +=
        " SELECT @SubFamilias = COALESCE(@SubFamilias + ', ', '') + "
        "c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+CAST(c.NNumDoc as "
        "nvarchar(10))";
    sql += " FROM    DOCGCCAB as c";
    sql +=
        " INNER JOIN  DOCGCLIN as l ON c.NNUMDOC = l.NNUMDOC AND c.TPDOC = l.TPDOCUM AND "
        "c.SERIE = l.SERIE";
    sql += " AND c.ANO = l.ANO";
    sql += filterLine;
    sql += " and l.artigo=@Artigo";
    sql += " SELECT @SubFamilias = COALESCE(@SubFamilias , '')";
    sql += " RETURN @SubFamilias";
    sql += " End ";
    return sql;
}

}  // namespace

std::string createLinhaParaStringSql() {
    return createFunctionSql(" Create FUNCTION [dbo].[qor_LinhaParaString]",
                             " where   c.nvias<>-1 and c.areag=2 and c.Tpterc=1 and l.quant>0 "
                             "and [convert]<>-1 and l.ARTIGO >''");
}

std::string createLinhaParaStringGuiaSql() {
    return createFunctionSql(" Create FUNCTION [dbo].[qor_LinhaParaStringGuia]",
                             " where   c.nvias<>-1 and c.areag=4 and c.Tpterc=1 and c.TpfStc=1 "
                             "and c.Natconta=2 and l.quant>0 and [convert]<>-1 and l.ARTIGO >''");
}

}  // namespace talvers
