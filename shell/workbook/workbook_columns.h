#pragma once
// How a field's column is laid out in a report sheet: its width (in the spreadsheet's
// character units) and whether its cells show numbers with the thousands format.
//   Integer, Double, Money: width 15, number format.
//   Numeric: the field's defined size, number format.
//   Date, DateTime: fitted to the header and to the column's values.
//   Text and any other type: the field's defined size.
// A defined size of 0 keeps the spreadsheet's default width; sizes above the spreadsheet's
// limit of 255 are cut to 255 (a wider column would make the file invalid).
#include <cstddef>
#include <optional>
#include <string_view>

#include "shell/dataaccess/table.h"

namespace talvers {

enum class ColumnKind { Plain, Number };

struct ColumnLayout {
    ColumnKind kind = ColumnKind::Plain;
    std::optional<double> width;  // nullopt: the spreadsheet's default width
};

inline constexpr std::string_view kNumberFormat = "###,###,##0.00";
inline constexpr double kNumberColumnWidth = 15;
inline constexpr double kMaxColumnWidth = 255;

// The layout of column `column` of `rows` (0-based; must be below rows.fieldCount()).
ColumnLayout columnLayoutFor(const Table& rows, size_t column);

}  // namespace talvers
