#include "tests/tds_double/sql_server_type_rules.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace talvers {
namespace {

using K = SqlServerKind;

bool isWhole(K kind) {
    return kind == K::Bit || kind == K::TinyInt || kind == K::SmallInt || kind == K::Int ||
           kind == K::BigInt;
}

// A decimal's precision and scale kept within 38 digits, the scale giving way first but not
// below 6 (or below what it was, when that was less).
SqlServerType boundedDecimal(int precision, int scale) {
    if (precision > 38) {
        const int integral = precision - scale;
        scale = std::max(std::min(scale, 38 - integral), std::min(scale, 6));
        precision = 38;
    }
    return SqlServerType::decimal(precision, scale);
}

SqlServerType decimalArithmetic(const SqlServerType& a, char op, const SqlServerType& b) {
    const int p1 = a.precision, s1 = a.scale, p2 = b.precision, s2 = b.scale;
    switch (op) {
        case '+':
        case '-': {
            const int s = std::max(s1, s2);
            return boundedDecimal(std::max(p1 - s1, p2 - s2) + s + 1, s);
        }
        case '*':
            return boundedDecimal(p1 + p2 + 1, s1 + s2);
        case '/': {
            const int s = std::max(6, s1 + p2 + 1);
            return boundedDecimal(p1 - s1 + s2 + s, s);
        }
        default:
            return boundedDecimal(std::min(p1 - s1, p2 - s2) + std::max(s1, s2), std::max(s1, s2));
    }
}

// The byte length of a character type, for the 8000-byte cap; max stays max.
int characterCap(const SqlServerType& t) {
    return t.isUnicode() ? 4000 : 8000;
}

}  // namespace

int typePrecedence(SqlServerKind kind) {
    switch (kind) {
        case K::DateTime:
            return 20;
        case K::Float:
            return 19;
        case K::Real:
            return 18;
        case K::Decimal:
            return 17;
        case K::Money:
            return 16;
        case K::SmallMoney:
            return 15;
        case K::BigInt:
            return 14;
        case K::Int:
            return 13;
        case K::SmallInt:
            return 12;
        case K::TinyInt:
            return 11;
        case K::Bit:
            return 10;
        case K::NText:
            return 9;
        case K::Text:
            return 8;
        case K::NVarChar:
            return 6;
        case K::NChar:
            return 5;
        case K::VarChar:
            return 4;
        case K::Char:
            return 3;
    }
    return 0;
}

SqlServerType asDecimal(const SqlServerType& type) {
    switch (type.kind) {
        case K::Bit:
            return SqlServerType::decimal(1, 0);
        case K::TinyInt:
            return SqlServerType::decimal(3, 0);
        case K::SmallInt:
            return SqlServerType::decimal(5, 0);
        case K::Int:
            return SqlServerType::decimal(10, 0);
        case K::BigInt:
            return SqlServerType::decimal(19, 0);
        case K::SmallMoney:
            return SqlServerType::decimal(10, 4);
        case K::Money:
            return SqlServerType::decimal(19, 4);
        case K::Decimal:
            return type;
        default:
            break;
    }
    throw std::invalid_argument("tipo " + type.name() + " como decimal");
}

SqlServerType arithmeticType(const SqlServerType& left, char op, const SqlServerType& right) {
    if (left.isCharacter() && right.isCharacter()) {
        if (op != '+') throw std::invalid_argument(std::string("operador ") + op + " com textos");
        if (left.isLarge() && (left.kind == K::Text || left.kind == K::NText))
            throw std::invalid_argument("concatenação de text ou ntext");
        const bool unicode = left.isUnicode() || right.isUnicode();
        SqlServerType result = SqlServerType::text(unicode ? K::NVarChar : K::VarChar, 0);
        if (left.length == SqlServerType::kMax || right.length == SqlServerType::kMax) {
            result.length = SqlServerType::kMax;
        } else {
            result.length = std::min(left.length + right.length, characterCap(result));
        }
        return result;
    }
    if (left.isCharacter() || right.isCharacter())
        throw std::invalid_argument("aritmética entre texto e número");
    if (left.kind == K::DateTime || right.kind == K::DateTime)
        throw std::invalid_argument("aritmética com datas");
    const SqlServerType& high =
        typePrecedence(left.kind) >= typePrecedence(right.kind) ? left : right;
    if (high.kind == K::Float || high.kind == K::Real) return high;
    if (high.kind == K::Decimal) return decimalArithmetic(asDecimal(left), op, asDecimal(right));
    if (isWhole(high.kind) && high.kind == K::Bit) return SqlServerType{K::Int};
    return SqlServerType{high.kind};
}

SqlServerType commonType(const SqlServerType& a, const SqlServerType& b) {
    if (a.isCharacter() && b.isCharacter()) {
        const SqlServerType& high = typePrecedence(a.kind) >= typePrecedence(b.kind) ? a : b;
        if (high.kind == K::Text || high.kind == K::NText) return SqlServerType{high.kind};
        SqlServerType result = SqlServerType::text(
            high.isUnicode() ? (high.kind == K::NChar && a.kind == b.kind ? K::NChar : K::NVarChar)
                             : (high.kind == K::Char && a.kind == b.kind ? K::Char : K::VarChar),
            0);
        if (a.length == SqlServerType::kMax || b.length == SqlServerType::kMax) {
            result.length = SqlServerType::kMax;
        } else {
            result.length = std::min(std::max(a.length, b.length), characterCap(result));
        }
        return result;
    }
    if (a.isCharacter() != b.isCharacter()) {
        // The number (or date) wins, as SQL Server converts the text to it.
        return a.isCharacter() ? b : a;
    }
    const SqlServerType& high = typePrecedence(a.kind) >= typePrecedence(b.kind) ? a : b;
    if (high.kind != K::Decimal) return high;
    const SqlServerType x = asDecimal(a), y = asDecimal(b);
    const int scale = std::max(x.scale, y.scale);
    return boundedDecimal(std::max(x.precision - x.scale, y.precision - y.scale) + scale, scale);
}

SqlServerType aggregateType(std::string_view function, const SqlServerType& argument) {
    if (function == "min" || function == "max") return argument;
    if (argument.isCharacter() || argument.kind == K::DateTime)
        throw std::invalid_argument(std::string(function) + " de " + argument.name());
    switch (argument.kind) {
        case K::Bit:
            throw std::invalid_argument(std::string(function) + " de bit");
        case K::TinyInt:
        case K::SmallInt:
        case K::Int:
            return SqlServerType{K::Int};
        case K::SmallMoney:
        case K::Money:
            return SqlServerType{K::Money};
        case K::Decimal:
            if (function == "avg") return SqlServerType::decimal(38, std::max(argument.scale, 6));
            return SqlServerType::decimal(38, argument.scale);
        case K::Real:
        case K::Float:
            return SqlServerType{K::Float};
        default:
            return argument;
    }
}

SqlServerType numberLiteralType(std::string_view literal) {
    if (literal.find_first_of("eE") != std::string_view::npos) return SqlServerType{K::Float};
    const size_t point = literal.find('.');
    std::string digits(literal.substr(0, point));
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    const int scale =
        point == std::string_view::npos ? 0 : static_cast<int>(literal.size() - point - 1);
    if (scale == 0 && (digits.size() < 10 || (digits.size() == 10 && digits <= "2147483647")))
        return SqlServerType{K::Int};
    const int precision = std::max<int>(1, static_cast<int>(digits.size()) + scale);
    return SqlServerType::decimal(std::max(precision, scale), scale);
}

}  // namespace talvers
