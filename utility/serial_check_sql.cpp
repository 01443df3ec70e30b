#include "utility/serial_check_sql.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

std::string serialMovementsSql() {
    return std::string(
               " select Artigo,armazem,count(artigo)as Qtd from qor_ARM_picking_Movimentos as p") +
           " where p.tipomov='T'" + " and numeroserie>''" +
           " group by artigo,armazem order by Artigo, armazem";
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

KeyedLookup serialAvailableStockLookup() {
    return articleLookup(serialAvailableStockSql, "select k.n, a.Stdisp from ",
                         " inner join Artigos as a on a.Codigo = k.Artigo");
}

KeyedLookup serialWarehouseStockLookup() {
    return articleLookup(serialWarehouseStockSql, "select k.n, a.Armazem, a.Existenc from ",
                         " inner join ArtArm as a on a.Artigo = k.Artigo and a.Existenc>0");
}

KeyedLookup serialRecordCountLookup() {
    return articleLookup(serialRecordCountSql, "select k.n, count(x.NumSer) as TotNSer from ",
                         " left join NserExis as x on x.Artigo = k.Artigo group by k.n");
}

KeyedLookup serialRecordListLookup() {
    return articleLookup(serialRecordListSql, "select k.n, x.NumSer from ",
                         " inner join NserExis as x on x.Artigo = k.Artigo order by k.n, x.NumSer");
}

KeyedLookup serialMovesLookup() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                const auto type = key.size() == 2 ? sqlWholeNumber(key[1]) : std::nullopt;
                if (!type || (*type != "1" && *type != "2")) return std::nullopt;
                return serialMovesSql(key[0], std::stoi(*type));
            },
            {"Artigo", "TpfStck"},
            "TN",
            [](const LookupKey& key) -> std::optional<LookupKey> {
                if (key.size() != 2 || (key[1] != "1" && key[1] != "2")) return std::nullopt;
                return key;
            },
            [](std::string_view keys) {
                return "select k.n, m.* from " + std::string(keys) +
                       " inner join NSerMovs as m on m.artigo = "
                       "k.Artigo and m.TPFSTCK = k.TpfStck";
            }};
}

KeyedLookup serialLineCheckLookup() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                if (key.size() != 5) return std::nullopt;
                return serialLineCheckSql({key[0], key[1], key[2], key[3], key[4]});
            },
            {"TpDocum", "Serie", "NNumdoc", "Ano", "NumLinha"},
            "TTNNN",
            {},
            [](std::string_view keys) {
                return "select k.n, l.Quant from " + std::string(keys) +
                       " inner join DocGcLin as l on l.TpDocum = k.TpDocum and l.Serie = "
                       "k.Serie and l.NNumdoc = k.NNumdoc and l.Ano = k.Ano and l.NumLinha = "
                       "k.NumLinha"
                       " inner join DocGcCab as c ON c.Ano=l.Ano and c.Serie=l.serie and "
                       "c.NNumdoc=l.NNumdoc and c.TpDoc=l.TpDocum"
                       " where c.nvias<>-1";
            }};
}

}  // namespace talvers
