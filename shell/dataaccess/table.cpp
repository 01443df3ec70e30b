#include "shell/dataaccess/table.h"

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/text_utils.h"

namespace talvers {

namespace {

// The fields of every table made without any.
const std::shared_ptr<const std::vector<Field>>& noFields() {
    static const auto none = std::make_shared<const std::vector<Field>>();
    return none;
}

}  // namespace

Table::Table() : fields_(noFields()) {}

Table::Table(std::vector<Field> fields)
    : fields_(std::make_shared<const std::vector<Field>>(std::move(fields))) {}

int Table::fieldIndex(std::string_view name) const {
    const std::vector<Field>& all = *fields_;
    for (size_t i = 0; i < all.size(); ++i) {
        if (equalsIgnoringAsciiCase(all[i].name, name)) return static_cast<int>(i);
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
    values.resize(fields_->size());
    rows_.push_back(std::move(values));
}

size_t Table::addEmptyRow() {
    rows_.emplace_back(fields_->size());
    return rows_.size() - 1;
}

}  // namespace talvers
