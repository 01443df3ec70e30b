#pragma once
// The statements of the serial-number stock check. Texts are spliced with quotes doubled;
// numbers only when they are whole numbers (nullopt otherwise: the line cannot be checked).
#include <optional>
#include <string>
#include <string_view>

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

}  // namespace talvers
