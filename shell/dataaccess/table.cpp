#include "shell/dataaccess/table.h"

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

int Table::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (equalsIgnoringAsciiCase(fields_[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

size_t Table::requireField(std::string_view name) const {
    const int index = fieldIndex(name);
    if (index < 0) {
        throw DatabaseError(3265, "O campo '" + std::string(name) + "' não existe no resultado.");
    }
    return static_cast<size_t>(index);
}

void Table::addRow(std::vector<Value> values) {
    values.resize(fields_.size());
    rows_.push_back(std::move(values));
}

size_t Table::addEmptyRow() {
    rows_.emplace_back(fields_.size());
    return rows_.size() - 1;
}

}  // namespace talvers
