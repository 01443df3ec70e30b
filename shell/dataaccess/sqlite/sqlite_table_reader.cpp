#include "shell/dataaccess/sqlite/sqlite_table_reader.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"
#include "shell/dataaccess/xml_text.h"

namespace talvers {
namespace {

enum class Declared { None, Decimal, Date, Integer, Real, Text };

struct Column {
    Declared declared = Declared::None;
    Field field;
    bool typeKnown = false;
};

bool contains(const std::string& upper, const char* part) {
    return upper.find(part) != std::string::npos;
}

Column describeColumn(sqlite3_stmt* statement, int index) {
    Column column;
    const char* name = sqlite3_column_name(statement, index);
    column.field.name = name ? name : "";
    const char* declared = sqlite3_column_decltype(statement, index);
    if (declared == nullptr) return column;
    std::string upper(declared);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    column.typeKnown = true;
    if (contains(upper, "DECIMAL") || contains(upper, "NUMERIC") || contains(upper, "MONEY")) {
        column.declared = Declared::Decimal;
        column.field.type = FieldType::Money;
    } else if (contains(upper, "DATE") || contains(upper, "TIME")) {
        column.declared = Declared::Date;
        column.field.type = FieldType::DateTime;
    } else if (contains(upper, "INT")) {
        column.declared = Declared::Integer;
        column.field.type = FieldType::Integer;
    } else if (contains(upper, "REAL") || contains(upper, "FLOA") || contains(upper, "DOUB")) {
        column.declared = Declared::Real;
        column.field.type = FieldType::Double;
    } else {
        column.declared = Declared::Text;
        column.field.type = FieldType::Text;
        const size_t open = upper.find('(');
        if (open != std::string::npos) column.field.size = std::atoi(upper.c_str() + open + 1);
    }
    return column;
}

Value readValue(sqlite3_stmt* statement, int index, const Column& column) {
    switch (sqlite3_column_type(statement, index)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER: {
            const sqlite3_int64 integer = sqlite3_column_int64(statement, index);
            if (column.declared == Declared::Decimal) {
                try {
                    return Money::fromInteger(integer);
                } catch (const std::overflow_error&) {
                }
            }
            return static_cast<std::int64_t>(integer);
        }
        case SQLITE_FLOAT: {
            const double number = sqlite3_column_double(statement, index);
            if (column.declared == Declared::Decimal || column.declared == Declared::None) {
                try {
                    return Money::fromDouble(number);
                } catch (const std::overflow_error&) {
                }
            }
            return number;
        }
        case SQLITE_TEXT: {
            // SQLite keeps whatever bytes were stored; the rest of the program relies on valid
            // UTF-8 (cuts by characters, the workbook's XML).
            std::string text = validXmlText(std::string_view(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, index)),
                static_cast<size_t>(sqlite3_column_bytes(statement, index))));
            if (column.declared == Declared::Date) {
                if (const auto date = DateTime::parse(text)) return *date;
            }
            return text;
        }
        default:
            throw DatabaseError(SQLITE_MISMATCH, "A coluna " + column.field.name +
                                                     " tem dados binários, que não são lidos.");
    }
}

FieldType typeOfValue(const Value& value) {
    if (value.isMoney()) return FieldType::Money;
    if (value.isInteger()) return FieldType::Integer;
    if (value.isDouble()) return FieldType::Double;
    if (value.isDateTime()) return FieldType::DateTime;
    return FieldType::Text;
}

}  // namespace

Table readSqliteRows(sqlite3* db, sqlite3_stmt* statement) {
    const int count = sqlite3_column_count(statement);
    std::vector<Column> columns;
    for (int i = 0; i < count; ++i) columns.push_back(describeColumn(statement, i));
    std::vector<std::vector<Value>> rows;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<Value> row;
        row.reserve(columns.size());
        for (int i = 0; i < count; ++i) {
            row.push_back(readValue(statement, i, columns[static_cast<size_t>(i)]));
            Column& column = columns[static_cast<size_t>(i)];
            if (!column.typeKnown && !row.back().isNull()) {
                column.field.type = typeOfValue(row.back());
                column.typeKnown = true;
            }
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db);
    std::vector<Field> fields;
    for (const Column& column : columns) fields.push_back(column.field);
    Table table(std::move(fields));
    table.rows() = std::move(rows);  // every row has a value per field already
    return table;
}

}  // namespace talvers
