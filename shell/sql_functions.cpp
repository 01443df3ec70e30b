#include "shell/sql_functions.h"

#include <string_view>

#include "shell/dataaccess/document_key_functions.h"

namespace talvers {
namespace {

namespace keys = document_key_functions;

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
    sql += " SELECT @SubFamilias = COALESCE(@SubFamilias + ', ', '') + ";
    sql += keys::kKey;
    sql += keys::kFrom;
    sql += keys::kJoin;
    sql += keys::kJoinCondition;
    sql += keys::kJoinYear;
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
                             keys::kSupplierOrderFilter);
}

std::string createLinhaParaStringGuiaSql() {
    return createFunctionSql(" Create FUNCTION [dbo].[qor_LinhaParaStringGuia]",
                             keys::kDeliveryNoteFilter);
}

}  // namespace talvers
