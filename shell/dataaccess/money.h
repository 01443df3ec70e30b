#pragma once
// Money: the ERP's currency type, an exact fixed-point number with four decimals, held as a
// count of ten-thousandths. Quantities and values are compared and subtracted exactly, never
// through double. Arithmetic that leaves the int64 range throws MoneyOutOfRange.
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace talvers {

// A number that Money cannot hold (beyond about ±922 337 203 685 477).
class MoneyOutOfRange : public std::overflow_error {
  public:
    MoneyOutOfRange() : std::overflow_error("Money out of range") {}
};

class Money {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromTicks(std::int64_t ticks) { return Money(ticks); }
    static Money fromInteger(std::int64_t units);
    // Rounds to the nearest ten-thousandth; for numbers that reached us through a double
    // (SQLite REAL) and were written with at most four decimals this restores them exactly.
    static Money fromDouble(double value);
    // Parses a decimal text as databases write it: optional sign, digits, optional '.'
    // and decimals, optional exponent ("1E+2" from some drivers). More than four decimals
    // round half away from zero. Returns nullopt for anything else, and for a number beyond
    // the range.
    static std::optional<Money> parse(std::string_view text);
    // The same, but a number beyond the range throws MoneyOutOfRange: nullopt means "not a
    // number".
    static std::optional<Money> parseInRange(std::string_view text);

    constexpr std::int64_t ticks() const { return ticks_; }
    double toDouble() const { return static_cast<double>(ticks_) / kScale; }

    // The plain number form users see inside texts: no grouping, decimals only when present
    // (trailing zeros dropped), the given decimal separator. 3 -> "3", 2.5 -> "2,5".
    std::string plainText(char decimalSeparator) const;
    // Plain form with '.', for SQL and logs.
    std::string toString() const { return plainText('.'); }

    Money operator+(Money other) const;
    Money operator-(Money other) const;
    Money operator-() const;
    Money& operator+=(Money other) { return *this = *this + other; }
    Money& operator-=(Money other) { return *this = *this - other; }
    constexpr auto operator<=>(const Money&) const = default;
    constexpr bool isZero() const { return ticks_ == 0; }

  private:
    constexpr explicit Money(std::int64_t ticks) : ticks_(ticks) {}
    std::int64_t ticks_ = 0;
};

// The decimal separator of the user's locale, read from the locale's data (not from the C
// library's number formatting, which is kept at "C" so that workbook numbers stay valid).
char userDecimalSeparator();

}  // namespace talvers
