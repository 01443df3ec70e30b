#include "shell/dataaccess/money_field.h"

#include "shell/dataaccess/database_error.h"

namespace talvers {

std::optional<Money> moneyField(const Table& rows, size_t row, std::string_view column) {
    const Value& value = rows.at(row, column);
    if (value.isNull()) return std::nullopt;
    const std::optional<Money> money = value.toMoney();
    if (!money) {
        throw DatabaseError(13, "O campo '" + std::string(column) +
                                    "' não tem um valor numérico: '" + value.toText() + "'.");
    }
    return money;
}

Value moneyCell(const Table& rows, size_t row, std::string_view column) {
    const std::optional<Money> money = moneyField(rows, row, column);
    return money ? Value(*money) : Value();
}

}  // namespace talvers
