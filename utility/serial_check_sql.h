#pragma once
// The statements of the serial-number stock check. Texts are spliced with quotes doubled;
// numbers only when they are whole numbers (nullopt otherwise: the line cannot be checked).
#include <optional>
#include <string>
#include <string_view>

#include "reports/lookup/keyed_lookup.h"

namespace talvers {

std::string serialMovementsSql();
std::string serialAvailableStockSql(std::string_view article);
std::string serialWarehouseStockSql(std::string_view article);
std::string serialRecordCountSql(std::string_view article);
std::string serialRecordListSql(std::string_view article);
std::string serialMovesSql(std::string_view article, int stockType);

struct MovementLine {
    std::string type;    // TipDoc
    std::string series;  // Serie
    std::string number;  // NumDoc
    std::string year;    // Ano
    std::string line;    // Linha
};
std::optional<std::string> serialLineCheckSql(const MovementLine& line);

// The same lookups for many keys at once. Keys: {article} for the stock, the warehouses, the
// count and the list of serials on record; {article, stock type} for the movements;
// {type, series, number, year, line} for the line check.
KeyedLookup serialAvailableStockLookup();
KeyedLookup serialWarehouseStockLookup();
KeyedLookup serialRecordCountLookup();
KeyedLookup serialRecordListLookup();
KeyedLookup serialMovesLookup();
KeyedLookup serialLineCheckLookup();

}  // namespace talvers
