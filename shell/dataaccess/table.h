#pragma once
// Table: a fully fetched row set — the result of a query, or a report's own in-memory rows.
// Fields carry a name, a type (the classic data-type codes the workbook layout is keyed on) and a
// defined size in characters. Field lookup by name ignores ASCII letter case.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/dataaccess/value.h"

namespace talvers {

enum class FieldType {
    Integer = 3,
    Double = 5,
    Money = 6,
    Date = 7,
    Numeric = 131,
    DateTime = 135,
    Text = 200,
};

struct Field {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;  // characters for text; 0 when the type has no size
};

class Table {
  public:
    Table();
    explicit Table(std::vector<Field> fields);

    const std::vector<Field>& fields() const { return *fields_; }
    size_t fieldCount() const { return fields_->size(); }
    size_t rowCount() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    // Index of the field with this name (ASCII case ignored), or -1.
    int fieldIndex(std::string_view name) const;
    // Throws DatabaseError when there is no such field: a query that lacks a column the
    // program reads is a failure to report, not a null.
    size_t requireField(std::string_view name) const;

    const Value& at(size_t row, size_t column) const { return rows_.at(row).at(column); }
    const Value& at(size_t row, std::string_view name) const { return at(row, requireField(name)); }
    Value& at(size_t row, size_t column) { return rows_.at(row).at(column); }
    Value& at(size_t row, std::string_view name) { return at(row, requireField(name)); }

    // Appends a row; a row with fewer values than fields is padded with nulls.
    void addRow(std::vector<Value> values);
    // Appends an all-null row and returns its position.
    size_t addEmptyRow();
    const std::vector<Value>& row(size_t index) const { return rows_.at(index); }
    const std::vector<std::vector<Value>>& rows() const { return rows_; }
    std::vector<std::vector<Value>>& rows() { return rows_; }

  private:
    // Shared by copies: a lookup's answers are many small tables with the same fields.
    std::shared_ptr<const std::vector<Field>> fields_;
    std::vector<std::vector<Value>> rows_;
};

// A row of values made in place: an initializer list would copy every text.
template <class... Values>
std::vector<Value> valueRow(Values&&... values) {
    std::vector<Value> row;
    row.reserve(sizeof...(values));
    (row.emplace_back(std::forward<Values>(values)), ...);
    return row;
}

}  // namespace talvers
