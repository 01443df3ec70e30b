#pragma once
// Value: one cell of a Table — null, text (UTF-8), money, integer, double or date-time.
// The conversions never guess silently: toMoney() of a text that is not a number is nullopt.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/money.h"

namespace talvers {

class Value {
  public:
    Value() = default;
    Value(std::string text) : data_(std::move(text)) {}
    Value(const char* text) : data_(std::string(text)) {}
    Value(Money money) : data_(money) {}
    Value(std::int64_t integer) : data_(integer) {}
    Value(int integer) : data_(static_cast<std::int64_t>(integer)) {}
    Value(double number) : data_(number) {}
    Value(DateTime dateTime) : data_(dateTime) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool isText() const { return std::holds_alternative<std::string>(data_); }
    bool isMoney() const { return std::holds_alternative<Money>(data_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(data_); }
    bool isDouble() const { return std::holds_alternative<double>(data_); }
    bool isDateTime() const { return std::holds_alternative<DateTime>(data_); }

    // Text form: null -> "", money and numbers in plain form with '.', whole doubles without
    // decimals (a customer code stored as 1234.0 reads "1234"), dates "yyyy-mm-dd hh:mm:ss"
    // ("yyyy-mm-dd" when the time is midnight).
    std::string toText() const;
    // The same, but the text of a text value is moved out (leaving an empty text) rather than
    // copied: for a row read for the last time.
    std::string takeText();
    // Exact for money, integers and decimal texts; doubles are rounded to four decimals.
    // nullopt for a value that is no number and for a number beyond Money's range.
    std::optional<Money> toMoney() const;
    // The same, but a number beyond the range throws MoneyOutOfRange.
    std::optional<Money> toMoneyInRange() const;
    // Date-times as they are; texts parsed by DateTime::parse.
    std::optional<DateTime> toDateTime() const;
    // Whole numbers only (integers, whole doubles, whole money, integer texts).
    std::optional<std::int64_t> toInteger() const;

    const std::string& text() const { return std::get<std::string>(data_); }
    Money money() const { return std::get<Money>(data_); }
    double doubleValue() const { return std::get<double>(data_); }

    bool operator==(const Value&) const = default;

  private:
    std::variant<std::monostate, std::string, Money, std::int64_t, double, DateTime> data_;
};

}  // namespace talvers
