#pragma once
// SqlServerType: a column type as SQL Server declares it — "money", "decimal(19,4)",
// "varchar(20)", "nvarchar(max)", "ntext", ... — the terms the ERP's schema is written in.
// The sample database stores each column in the SQLite type that keeps its values (see
// sqliteDeclaration), and the TDS double sends each column with this type.
#include <optional>
#include <string>
#include <string_view>

#include "shell/dataaccess/value.h"

namespace talvers {

enum class SqlServerKind {
    Bit,
    TinyInt,
    SmallInt,
    Int,
    BigInt,
    SmallMoney,
    Money,
    Decimal,  // numeric too
    Real,
    Float,
    DateTime,
    Char,
    VarChar,
    Text,
    NChar,
    NVarChar,
    NText,
};

struct SqlServerType {
    // Marks the max form of varchar and nvarchar.
    static constexpr int kMax = -1;

    SqlServerKind kind = SqlServerKind::Int;
    int length = 0;     // characters of char/varchar/nchar/nvarchar, or kMax
    int precision = 0;  // decimal: 1..38
    int scale = 0;      // decimal: 0..precision

    // Parses a declaration as T-SQL writes it, letters in any case: "int", "decimal(19, 4)",
    // "numeric(10)", "varchar(max)", "nvarchar"... A length or precision left out takes
    // SQL Server's default for a declaration (1 for char types, decimal(18,0)). nullopt for a
    // type it does not know or a length out of range.
    static std::optional<SqlServerType> parse(std::string_view declaration);
    static SqlServerType decimal(int precision, int scale) {
        return {SqlServerKind::Decimal, 0, precision, scale};
    }
    static SqlServerType text(SqlServerKind kind, int length) { return {kind, length, 0, 0}; }

    // The declaration, as parse() reads it back: "decimal(19,4)", "nvarchar(max)", "ntext".
    std::string name() const;
    // The SQLite column type that keeps this type's values and makes the SQLite backend read
    // them as the same kind of value: INTEGER, MONEY, DECIMAL(p,s), FLOAT, DATETIME, or a
    // character type with COLLATE NOCASE (SQL Server's usual collation ignores case).
    std::string sqliteDeclaration() const;

    bool isCharacter() const { return kind >= SqlServerKind::Char; }
    bool isUnicode() const { return kind >= SqlServerKind::NChar; }
    // text, ntext and the max forms: read in pieces, cut by SET TEXTSIZE.
    bool isLarge() const {
        return kind == SqlServerKind::Text || kind == SqlServerKind::NText || length == kMax;
    }
    bool isNumeric() const { return kind <= SqlServerKind::Float; }

    bool operator==(const SqlServerType&) const = default;
};

// Why `value` (as the SQLite backend reads it) cannot be stored in a column of `type` on
// SQL Server, or "" when it can: a text longer than the column or, for a non-Unicode column,
// with a character Windows-1252 lacks; a whole number out of the type's range; a number with
// more decimals than the scale or more digits than the precision; a text in a number or date
// column; a date outside 1753..9999. NULL always fits.
std::string whyValueDoesNotFit(const SqlServerType& type, const Value& value);

}  // namespace talvers
