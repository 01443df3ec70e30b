#include "sample/sql_server_type.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <utility>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/windows_1252.h"

namespace talvers {
namespace {

struct KindName {
    SqlServerKind kind;
    std::string_view name;
};

constexpr std::array kKindNames{
    KindName{SqlServerKind::Bit, "bit"},
    KindName{SqlServerKind::TinyInt, "tinyint"},
    KindName{SqlServerKind::SmallInt, "smallint"},
    KindName{SqlServerKind::Int, "int"},
    KindName{SqlServerKind::BigInt, "bigint"},
    KindName{SqlServerKind::SmallMoney, "smallmoney"},
    KindName{SqlServerKind::Money, "money"},
    KindName{SqlServerKind::Decimal, "decimal"},
    KindName{SqlServerKind::Decimal, "numeric"},
    KindName{SqlServerKind::Real, "real"},
    KindName{SqlServerKind::Float, "float"},
    KindName{SqlServerKind::DateTime, "datetime"},
    KindName{SqlServerKind::Char, "char"},
    KindName{SqlServerKind::VarChar, "varchar"},
    KindName{SqlServerKind::Text, "text"},
    KindName{SqlServerKind::NChar, "nchar"},
    KindName{SqlServerKind::NVarChar, "nvarchar"},
    KindName{SqlServerKind::NText, "ntext"},
};

std::string lower(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<int> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// The range of a whole-number kind.
std::pair<std::int64_t, std::int64_t> rangeOf(SqlServerKind kind) {
    switch (kind) {
        case SqlServerKind::Bit:
            return {0, 1};
        case SqlServerKind::TinyInt:
            return {0, 255};
        case SqlServerKind::SmallInt:
            return {-32768, 32767};
        case SqlServerKind::Int:
            return {INT32_MIN, INT32_MAX};
        default:
            return {INT64_MIN, INT64_MAX};
    }
}

std::string whyNumberDoesNotFit(const SqlServerType& type, const Value& value) {
    if (value.isText() || value.isDateTime()) return "não é um número";
    switch (type.kind) {
        case SqlServerKind::Real:
        case SqlServerKind::Float:
            return {};
        case SqlServerKind::Bit:
        case SqlServerKind::TinyInt:
        case SqlServerKind::SmallInt:
        case SqlServerKind::Int:
        case SqlServerKind::BigInt: {
            const std::optional<std::int64_t> n = value.toInteger();
            const auto [least, most] = rangeOf(type.kind);
            if (!n) return "não é um número inteiro";
            if (*n < least || *n > most) return "está fora do intervalo de " + type.name();
            return {};
        }
        default:
            break;
    }
    const std::optional<Money> money = value.toMoney();
    if (!money) return "está fora do intervalo de " + type.name();
    if (type.kind == SqlServerKind::SmallMoney) {
        if (money->ticks() < INT32_MIN || money->ticks() > INT32_MAX)
            return "está fora do intervalo de smallmoney";
        return {};
    }
    if (type.kind != SqlServerKind::Decimal) return {};
    std::int64_t ticks = money->ticks();
    for (int s = type.scale; s < 4; ++s) {
        if (ticks % 10 != 0) return "tem mais casas decimais do que " + type.name();
        ticks /= 10;
    }
    // Digits left of the point against precision - scale.
    std::int64_t whole = money->ticks() / Money::kScale;
    int digits = 0;
    for (; whole != 0; whole /= 10) ++digits;
    if (digits > type.precision - type.scale) return "tem mais algarismos do que " + type.name();
    return {};
}

}  // namespace

std::optional<SqlServerType> SqlServerType::parse(std::string_view declaration) {
    const std::string text = lower(declaration);
    const size_t open = text.find('(');
    const std::string base = text.substr(0, open);
    std::optional<SqlServerType> type;
    for (const KindName& k : kKindNames) {
        if (k.name == base) type = SqlServerType{k.kind, 0, 0, 0};
    }
    if (!type) return std::nullopt;
    std::string_view arguments;
    if (open != std::string::npos) {
        if (text.back() != ')') return std::nullopt;
        arguments = std::string_view(text).substr(open + 1, text.size() - open - 2);
    }
    if (type->kind == SqlServerKind::Decimal) {
        type->precision = 18;
        if (!arguments.empty()) {
            const size_t comma = arguments.find(',');
            const auto p = wholeNumber(arguments.substr(0, comma));
            const auto s = comma == std::string_view::npos
                               ? std::optional<int>(0)
                               : wholeNumber(arguments.substr(comma + 1));
            if (!p || !s || *p < 1 || *p > 38 || *s > *p) return std::nullopt;
            type->precision = *p;
            type->scale = *s;
        }
        return type;
    }
    const bool sized = type->kind == SqlServerKind::Char || type->kind == SqlServerKind::VarChar ||
                       type->kind == SqlServerKind::NChar || type->kind == SqlServerKind::NVarChar;
    if (!sized) return arguments.empty() && open == std::string::npos ? type : std::nullopt;
    type->length = 1;
    if (open == std::string::npos) return type;
    const int most = type->isUnicode() ? 4000 : 8000;
    const bool maxForm =
        type->kind == SqlServerKind::VarChar || type->kind == SqlServerKind::NVarChar;
    if (arguments == "max" && maxForm) {
        type->length = kMax;
        return type;
    }
    const auto length = wholeNumber(arguments);
    if (!length || *length < 1 || *length > most) return std::nullopt;
    type->length = *length;
    return type;
}

std::string SqlServerType::name() const {
    std::string base;
    for (const KindName& k : kKindNames) {
        if (k.kind == kind && base.empty()) base = k.name;
    }
    if (kind == SqlServerKind::Decimal) {
        return base + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
    }
    const bool sized = kind == SqlServerKind::Char || kind == SqlServerKind::VarChar ||
                       kind == SqlServerKind::NChar || kind == SqlServerKind::NVarChar;
    if (!sized) return base;
    return base + "(" + (length == kMax ? std::string("max") : std::to_string(length)) + ")";
}

std::string SqlServerType::sqliteDeclaration() const {
    switch (kind) {
        case SqlServerKind::Bit:
        case SqlServerKind::TinyInt:
        case SqlServerKind::SmallInt:
        case SqlServerKind::Int:
        case SqlServerKind::BigInt:
            return "INTEGER";
        case SqlServerKind::SmallMoney:
        case SqlServerKind::Money:
            return "MONEY";
        case SqlServerKind::Decimal:
            return "DECIMAL(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
        case SqlServerKind::Real:
        case SqlServerKind::Float:
            return "FLOAT";
        case SqlServerKind::DateTime:
            return "DATETIME";
        case SqlServerKind::Text:
        case SqlServerKind::NText:
            return "TEXT COLLATE NOCASE";
        default:
            break;
    }
    std::string upper = name();
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (length == kMax) upper = upper.substr(0, upper.find('('));
    return upper + " COLLATE NOCASE";
}

std::string whyValueDoesNotFit(const SqlServerType& type, const Value& value) {
    if (value.isNull()) return {};
    if (type.isNumeric()) return whyNumberDoesNotFit(type, value);
    if (type.kind == SqlServerKind::DateTime) {
        const std::optional<DateTime> date = value.toDateTime();
        if (!date) return "não é uma data";
        if (date->year < kFirstServerDate.year) return "é anterior a 1753";
        return {};
    }
    const std::string text = value.toText();
    if (type.length != SqlServerType::kMax && !type.isLarge() &&
        charCount(text) > static_cast<size_t>(type.length)) {
        return "tem mais caracteres do que " + type.name();
    }
    if (!type.isUnicode() && !fitsWindows1252(text)) {
        return "tem caracteres que a página de código 1252 não tem";
    }
    return {};
}

}  // namespace talvers
