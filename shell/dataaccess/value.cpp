#include "shell/dataaccess/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace talvers {

std::string Value::takeText() {
    if (auto* text = std::get_if<std::string>(&data_)) return std::move(*text);
    return toText();
}

std::string Value::toText() const {
    if (isNull()) return {};
    if (isText()) return text();
    if (isMoney()) return money().toString();
    if (isInteger()) return std::to_string(std::get<std::int64_t>(data_));
    if (isDouble()) {
        const double d = std::get<double>(data_);
        if (std::floor(d) == d && std::fabs(d) < 1e15) {
            return std::to_string(static_cast<std::int64_t>(d));
        }
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", d);
        return buf;
    }
    const DateTime& t = std::get<DateTime>(data_);
    return t.hour == 0 && t.minute == 0 && t.second == 0 ? t.isoDate() : t.isoDateTime();
}

std::optional<Money> Value::toMoney() const {
    try {
        return toMoneyInRange();
    } catch (const MoneyOutOfRange&) {
        return std::nullopt;
    }
}

std::optional<Money> Value::toMoneyInRange() const {
    if (isMoney()) return money();
    if (isInteger()) return Money::fromInteger(std::get<std::int64_t>(data_));
    if (isDouble()) return Money::fromDouble(std::get<double>(data_));
    if (isText()) return Money::parseInRange(text());
    return std::nullopt;
}

std::optional<DateTime> Value::toDateTime() const {
    if (isDateTime()) return std::get<DateTime>(data_);
    if (isText()) return DateTime::parse(text());
    return std::nullopt;
}

std::optional<std::int64_t> Value::toInteger() const {
    if (isInteger()) return std::get<std::int64_t>(data_);
    if (isDouble()) {
        const double d = std::get<double>(data_);
        if (std::floor(d) == d && std::fabs(d) < 9e15) return static_cast<std::int64_t>(d);
        return std::nullopt;
    }
    if (isMoney()) {
        const Money m = money();
        if (m.ticks() % Money::kScale == 0) return m.ticks() / Money::kScale;
        return std::nullopt;
    }
    if (isText()) {
        const std::string& s = text();
        std::int64_t v = 0;
        const char* begin = s.data();
        if (!s.empty() && s[0] == '+') ++begin;
        auto [end, ec] = std::from_chars(begin, s.data() + s.size(), v);
        if (ec == std::errc() && end == s.data() + s.size() && begin != end) return v;
    }
    return std::nullopt;
}

}  // namespace talvers
