#include "shell/dataaccess/money_field.h"

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string ofArticle(std::string_view article) {
    return article.empty() ? std::string() : " do artigo " + quoted(article);
}

}  // namespace

std::optional<Money> moneyField(const Table& rows, size_t row, std::string_view column,
                                std::string_view article) {
    const Value& value = rows.at(row, column);
    if (value.isNull()) return std::nullopt;
    const std::string field = "O campo " + quoted(column) + ofArticle(article);
    std::optional<Money> money;
    try {
        money = value.toMoneyInRange();
    } catch (const MoneyOutOfRange&) {
        throw DatabaseError(kMoneyOutOfRangeError, field +
                                                       " tem um valor fora do intervalo dos "
                                                       "montantes: " +
                                                       quoted(value.toText()) + ".");
    }
    if (!money) {
        throw DatabaseError(kNotANumberError,
                            field + " não tem um valor numérico: " + quoted(value.toText()) + ".");
    }
    return money;
}

Value moneyCell(const Table& rows, size_t row, std::string_view column) {
    const std::optional<Money> money = moneyField(rows, row, column);
    return money ? Value(*money) : Value();
}

std::optional<Money> moneySum(const Table& rows, size_t row,
                              std::initializer_list<std::string_view> columns,
                              std::string_view article) {
    Money sum;
    bool anyNull = false;
    std::string names;
    std::string values;
    bool outOfRange = false;
    for (const std::string_view column : columns) {
        const std::optional<Money> money = moneyField(rows, row, column, article);
        names += (names.empty() ? "" : ", ") + quoted(column);
        values += (values.empty() ? "" : ", ") + quoted(rows.at(row, column).toText());
        if (!money) {
            anyNull = true;
        } else if (!outOfRange) {
            try {
                sum += *money;
            } catch (const MoneyOutOfRange&) {
                outOfRange = true;
            }
        }
    }
    if (anyNull) return std::nullopt;
    if (outOfRange) {
        throw DatabaseError(kMoneyOutOfRangeError,
                            "A soma dos campos " + names + ofArticle(article) +
                                " fica fora do intervalo dos montantes: " + values + ".");
    }
    return sum;
}

}  // namespace talvers
