#include "utility/serial_check_sql.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

std::string serialMovementsSql() {
    return std::string(
               " select Artigo,armazem,count(artigo)as Qtd from qor_ARM_picking_Movimentos as p") +
           " where p.tipomov='T'" + " and numeroserie>''" +
           " group by artigo,armazem order by Artigo";
}

std::string serialAvailableStockSql(std::string_view article) {
    return "Select Stdisp from Artigos where Codigo='" + sqlQuoted(article) + "'";
}

std::string serialWarehouseStockSql(std::string_view article) {
    return "Select Armazem,Existenc from ArtArm where Artigo='" + sqlQuoted(article) +
           "' and Existenc>0";
}

std::string serialRecordCountSql(std::string_view article) {
    return "select  count(NumSer) as TotNSer  from NserExis where  Artigo='" + sqlQuoted(article) +
           "' ";
}

std::string serialRecordListSql(std::string_view article) {
    return "select NumSer from NserExis where Artigo='" + sqlQuoted(article) + "' order by NumSer";
}

std::string serialMovesSql(std::string_view article, int stockType) {
    return "Select * from NSerMovs where artigo='" + sqlQuoted(article) +
           "' and TPFSTCK=" + std::to_string(stockType) + " ";
}

std::optional<std::string> serialLineCheckSql(const MovementLine& line) {
    const auto number = sqlWholeNumber(line.number);
    const auto year = sqlWholeNumber(line.year);
    const auto lineNumber = sqlWholeNumber(line.line);
    if (!number || !year || !lineNumber) return std::nullopt;
    return std::string("Select Quant from DocGcLin as l") +
           " inner join DocGcCab as c ON c.Ano=l.Ano and c.Serie=l.serie and c.NNumdoc=l.NNumdoc "
           "and c.TpDoc=l.TpDocum" +
           " where l.TpDocum='" + sqlQuoted(line.type) + "' and l.Serie='" +
           sqlQuoted(line.series) + "' and l.NNumdoc=" + *number + " and l.Ano= " + *year +
           " and l.NumLinha=" + *lineNumber + " and c.nvias<>-1  ";
}

}  // namespace talvers
