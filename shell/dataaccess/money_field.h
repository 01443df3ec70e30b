#pragma once
// Reading a quantity or value column of a query result as Money. A null stays null (the
// caller decides what it means); anything else must be an exact number: a text that is not
// one is a fault in the data and is reported as DatabaseError, never read as 0.
#include <optional>
#include <string_view>

#include "shell/dataaccess/money.h"
#include "shell/dataaccess/table.h"

namespace talvers {

std::optional<Money> moneyField(const Table& rows, size_t row, std::string_view column);
// The same as a cell of a report's rows: a null Value or a Money Value.
Value moneyCell(const Table& rows, size_t row, std::string_view column);

}  // namespace talvers
