#include "shell/dataaccess/money.h"

#include <cmath>
#include <limits>
#include <locale>
#include <stdexcept>

namespace talvers {
namespace {

std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_add_overflow(a, b, &r)) throw MoneyOutOfRange();
    return r;
}

std::int64_t checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t r;
    if (__builtin_mul_overflow(a, b, &r)) throw MoneyOutOfRange();
    return r;
}

}  // namespace

Money Money::fromInteger(std::int64_t units) {
    return Money(checkedMul(units, kScale));
}

Money Money::fromDouble(double value) {
    const double scaled = std::round(value * kScale);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) {
        throw MoneyOutOfRange();
    }
    return Money(static_cast<std::int64_t>(scaled));
}

std::optional<Money> Money::parse(std::string_view text) {
    try {
        return parseInRange(text);
    } catch (const MoneyOutOfRange&) {
        return std::nullopt;
    }
}

std::optional<Money> Money::parseInRange(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Collect all significant digits and the position of the decimal point.
    std::string digits;
    int fractionDigits = 0;
    bool seenPoint = false;
    bool anyDigit = false;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            anyDigit = true;
            if (seenPoint) ++fractionDigits;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    int exponent = 0;
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i == text.size()) return std::nullopt;
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') return std::nullopt;
            exponent = exponent * 10 + (text[i] - '0');
            // Any exponent this large leaves the range, unless the digits are all zero.
            if (exponent > 400) exponent = 400;
        }
        if (expNegative) exponent = -exponent;
    }
    // value = digits * 10^(exponent - fractionDigits); we want ticks = value * 10^4.
    int shift = exponent - fractionDigits + 4;
    size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return Money(0);
    digits.erase(0, firstNonZero);
    std::int64_t ticks = 0;
    if (shift >= 0) {
        for (char c : digits) ticks = checkedAdd(checkedMul(ticks, 10), c - '0');
        for (int k = 0; k < shift; ++k) ticks = checkedMul(ticks, 10);
    } else {
        const int drop = -shift;
        if (static_cast<size_t>(drop) > digits.size()) return Money(0);
        const size_t keep = digits.size() - drop;
        for (size_t k = 0; k < keep; ++k)
            ticks = checkedAdd(checkedMul(ticks, 10), digits[k] - '0');
        if (digits[keep] >= '5') ticks = checkedAdd(ticks, 1);  // half away from zero
    }
    return Money(negative ? -ticks : ticks);
}

std::string Money::plainText(char decimalSeparator) const {
    const bool negative = ticks_ < 0;
    // Work in unsigned so that the most negative value does not overflow.
    const std::uint64_t magnitude = negative ? static_cast<std::uint64_t>(-(ticks_ + 1)) + 1
                                             : static_cast<std::uint64_t>(ticks_);
    std::string text = std::to_string(magnitude / kScale);
    std::uint64_t fraction = magnitude % kScale;
    if (fraction != 0) {
        std::string decimals = std::to_string(fraction);
        decimals.insert(0, 4 - decimals.size(), '0');
        while (decimals.back() == '0') decimals.pop_back();
        text += decimalSeparator;
        text += decimals;
    }
    return negative ? "-" + text : text;
}

Money Money::operator+(Money other) const {
    return Money(checkedAdd(ticks_, other.ticks_));
}

Money Money::operator-(Money other) const {
    std::int64_t r;
    if (__builtin_sub_overflow(ticks_, other.ticks_, &r)) throw MoneyOutOfRange();
    return Money(r);
}

Money Money::operator-() const {
    return Money() - *this;
}

char userDecimalSeparator() {
    try {
        return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
    } catch (const std::exception&) {
        return '.';
    }
}

}  // namespace talvers
