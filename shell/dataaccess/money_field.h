#pragma once
// Reading a quantity or value column of a query result as Money. A null stays null (the
// caller decides what it means); anything else must be an exact number: a text that is not
// one, or a number beyond Money's range, is a fault in the data and is reported as
// DatabaseError naming the field and the value, never read as 0.
#include <initializer_list>
#include <optional>
#include <string_view>

#include "shell/dataaccess/money.h"
#include "shell/dataaccess/table.h"

namespace talvers {

// Error numbers of these faults. 50001 is the T-SQL rewrite's; these follow it, clear of the
// drivers' own numbers.
inline constexpr long kNotANumberError = 13;
inline constexpr long kMoneyOutOfRangeError = 50002;

// `article`, when given, is named in the message ("do artigo 'A001'").
std::optional<Money> moneyField(const Table& rows, size_t row, std::string_view column,
                                std::string_view article = {});
// The same as a cell of a report's rows: a null Value or a Money Value.
Value moneyCell(const Table& rows, size_t row, std::string_view column);
// The sum of the columns of one row: null when any of them is null; a sum beyond the range is
// reported naming the fields and their values.
std::optional<Money> moneySum(const Table& rows, size_t row,
                              std::initializer_list<std::string_view> columns,
                              std::string_view article = {});

}  // namespace talvers
