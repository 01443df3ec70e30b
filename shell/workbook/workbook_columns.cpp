#include "shell/workbook/workbook_columns.h"

#include <algorithm>

#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

// Room for the header's filter button and a little margin beside the text.
constexpr double kFitMargin = 2;

std::optional<double> definedWidth(const Field& field) {
    if (field.size <= 0) return std::nullopt;
    return std::min<double>(field.size, kMaxColumnWidth);
}

// The width a date column needs to show its header and every value whole. The header alone
// would be too narrow for the dates below it ("Data" against "2024-05-13"), so the values
// take part in the fit as they would in a fit made after the rows are in.
double fittedWidth(const Table& rows, size_t column) {
    size_t widest = charCount(rows.fields()[column].name);
    for (const auto& row : rows.rows()) {
        if (column < row.size() && !row[column].isNull()) {
            widest = std::max(widest, charCount(row[column].toText()));
        }
    }
    return std::min(static_cast<double>(widest) + kFitMargin, kMaxColumnWidth);
}

}  // namespace

ColumnLayout columnLayoutFor(const Table& rows, size_t column) {
    const Field& field = rows.fields().at(column);
    switch (field.type) {
        case FieldType::Integer:
        case FieldType::Double:
        case FieldType::Money:
            return {ColumnKind::Number, kNumberColumnWidth};
        case FieldType::Numeric:
            return {ColumnKind::Number, definedWidth(field)};
        case FieldType::Date:
        case FieldType::DateTime:
            return {ColumnKind::Plain, fittedWidth(rows, column)};
        default:
            return {ColumnKind::Plain, definedWidth(field)};
    }
}

}  // namespace talvers
