#include "shell/dataaccess/odbc/odbc_result_set.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <iterator>
#include <optional>

#include "shell/dataaccess/odbc/utf16_text.h"
#include "shell/dataaccess/xml_text.h"

namespace talvers {

namespace {

enum class ReadAs { Integer, Double, Decimal, DateTime, Text };

struct Column {
    Field field;
    ReadAs readAs = ReadAs::Text;
};

ReadAs readAsFor(SQLSMALLINT sqlType) {
    switch (sqlType) {
        case SQL_BIT:
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            return ReadAs::Integer;
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return ReadAs::Double;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return ReadAs::Decimal;
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIMESTAMP:
        case SQL_DATE:
        case SQL_TIMESTAMP:
            return ReadAs::DateTime;
        default:
            return ReadAs::Text;
    }
}

std::string typeName(const OdbcHandle& statement, SQLUSMALLINT index) {
    std::u16string name(64, u'\0');
    SQLSMALLINT bytes = 0;
    const SQLRETURN rc =
        SQLColAttributeW(statement.get(), index, SQL_DESC_TYPE_NAME, sqlWide(name),
                         static_cast<SQLSMALLINT>(name.size() * sizeof(char16_t)), &bytes, nullptr);
    if (!SQL_SUCCEEDED(rc)) return {};
    name.resize(std::min(name.size() - 1, static_cast<size_t>(bytes) / sizeof(char16_t)));
    return utf16ToUtf8(name);
}

bool isMoneyType(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name == "money" || name == "smallmoney";
}

FieldType fieldTypeFor(const OdbcHandle& statement, SQLUSMALLINT index, ReadAs readAs) {
    switch (readAs) {
        case ReadAs::Integer:
            return FieldType::Integer;
        case ReadAs::Double:
            return FieldType::Double;
        case ReadAs::Decimal:
            // SQL Server's money types reach ODBC as DECIMAL; their type name tells them apart.
            return isMoneyType(typeName(statement, index)) ? FieldType::Money : FieldType::Numeric;
        case ReadAs::DateTime:
            return FieldType::DateTime;
        case ReadAs::Text:
            break;
    }
    return FieldType::Text;
}

Column describeColumn(const OdbcHandle& statement, SQLUSMALLINT index) {
    std::u16string name(128, u'\0');
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT sqlType = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    SQLSMALLINT nullable = 0;
    for (;;) {
        statement.check(SQLDescribeColW(statement.get(), index, sqlWide(name),
                                        static_cast<SQLSMALLINT>(name.size()), &nameLength,
                                        &sqlType, &size, &digits, &nullable),
                        "SQLDescribeCol");
        if (static_cast<size_t>(nameLength) < name.size()) break;
        name.assign(static_cast<size_t>(nameLength) + 1, u'\0');
    }
    name.resize(static_cast<size_t>(nameLength));
    Column column;
    column.readAs = readAsFor(sqlType);
    column.field.name = utf16ToUtf8(name);
    column.field.type = fieldTypeFor(statement, index, column.readAs);
    if (column.field.type == FieldType::Text) {
        column.field.size = static_cast<int>(std::min<SQLULEN>(size, INT_MAX));
    }
    return column;
}

// The whole text of a column, or nullopt for NULL. Drivers hand long texts over in pieces,
// each ended by a terminator, reporting truncation until the last piece. A piece's length is
// what the driver says; when it says SQL_NO_TOTAL (it cannot tell before converting the
// rest, as for a text in a UTF-8 collation), the piece ends at its terminator, which is
// found as the last unit the driver wrote: the piece is filled with U+FFFF before each call,
// a code unit no text has and that the terminator is followed only by.
std::optional<std::string> readText(const OdbcHandle& statement, SQLUSMALLINT index) {
    constexpr size_t kPieceUnits = 4096;
    constexpr char16_t kUnwritten = 0xFFFF;
    char16_t piece[kPieceUnits];
    std::u16string text;
    for (;;) {
        std::fill(std::begin(piece), std::end(piece), kUnwritten);
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(statement.get(), index, SQL_C_WCHAR, piece, sizeof piece, &indicator);
        if (rc == SQL_NO_DATA) break;
        statement.check(rc, "SQLGetData");
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        size_t units = kPieceUnits - 1;
        if (indicator == SQL_NO_TOTAL) {
            while (units > 0 && piece[units] == kUnwritten) --units;
        } else {
            units = std::min(units, static_cast<size_t>(indicator) / 2);
        }
        text.append(piece, units);
        if (rc == SQL_SUCCESS) break;
    }
    return validXmlText(utf16ToUtf8(text));
}

template <typename T>
std::optional<T> readFixed(const OdbcHandle& statement, SQLUSMALLINT index, SQLSMALLINT cType) {
    T value{};
    SQLLEN indicator = 0;
    statement.check(SQLGetData(statement.get(), index, cType, &value, sizeof value, &indicator),
                    "SQLGetData");
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    return value;
}

Value readValue(const OdbcHandle& statement, SQLUSMALLINT index, ReadAs readAs) {
    switch (readAs) {
        case ReadAs::Integer: {
            const auto v = readFixed<std::int64_t>(statement, index, SQL_C_SBIGINT);
            return v ? Value(*v) : Value();
        }
        case ReadAs::Double: {
            const auto v = readFixed<double>(statement, index, SQL_C_DOUBLE);
            return v ? Value(*v) : Value();
        }
        case ReadAs::Decimal:
        case ReadAs::DateTime:
        case ReadAs::Text:
            break;
    }
    std::optional<std::string> text = readText(statement, index);
    if (!text) return Value();
    if (readAs == ReadAs::Decimal) {
        if (const auto money = Money::parse(*text)) return Value(*money);
    } else if (readAs == ReadAs::DateTime) {
        if (const auto dateTime = DateTime::parse(*text)) return Value(*dateTime);
    }
    return Value(std::move(*text));
}

}  // namespace

Table fetchResultSet(const OdbcHandle& statement, SQLSMALLINT columnCount) {
    std::vector<Column> columns;
    std::vector<Field> fields;
    for (SQLUSMALLINT index = 1; index <= columnCount; ++index) {
        columns.push_back(describeColumn(statement, index));
        fields.push_back(columns.back().field);
    }
    Table table(std::move(fields));
    for (;;) {
        const SQLRETURN rc = SQLFetch(statement.get());
        if (rc == SQL_NO_DATA) break;
        statement.check(rc, "SQLFetch");
        std::vector<Value> row;
        row.reserve(columns.size());
        for (SQLUSMALLINT index = 1; index <= columnCount; ++index) {
            row.push_back(readValue(statement, index, columns[index - 1].readAs));
        }
        table.addRow(std::move(row));
    }
    return table;
}

}  // namespace talvers
