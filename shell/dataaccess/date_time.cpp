#include "shell/dataaccess/date_time.h"

#include <cstdio>
#include <ctime>

namespace talvers {
namespace {

bool readNumber(std::string_view text, size_t pos, size_t len, int& out) {
    if (pos + len > text.size()) return false;
    int value = 0;
    for (size_t i = pos; i < pos + len; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

// Days since 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long>(yoe) + era * 400 + (m <= 2));
}

}  // namespace

int DateTime::daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool DateTime::isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::optional<DateTime> DateTime::parse(std::string_view text) {
    DateTime t;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (!readNumber(text, 0, 4, t.year) || !readNumber(text, 5, 2, t.month) ||
        !readNumber(text, 8, 2, t.day) || !isValidDate(t.year, t.month, t.day)) {
        return std::nullopt;
    }
    if (text.size() == 10) return t;
    if (text[10] != ' ' && text[10] != 'T') return std::nullopt;
    if (text.size() < 16 || text[13] != ':' || !readNumber(text, 11, 2, t.hour) ||
        !readNumber(text, 14, 2, t.minute)) {
        return std::nullopt;
    }
    size_t pos = 16;
    if (pos < text.size()) {
        if (text[pos] != ':' || !readNumber(text, pos + 1, 2, t.second)) return std::nullopt;
        pos += 3;
        if (pos < text.size()) {
            if (text[pos] != '.') return std::nullopt;
            for (int digit = 0, unit = 100; ++pos < text.size(); ++digit, unit /= 10) {
                if (text[pos] < '0' || text[pos] > '9') return std::nullopt;
                if (digit < 3) t.millisecond += (text[pos] - '0') * unit;
            }
        }
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return t;
}

DateTime DateTime::now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

DateTime DateTime::plusDays(long days) const {
    static const long first = daysFromCivil(1, 1, 1);
    static const long last = daysFromCivil(9999, 12, 31);
    long target = 0;
    if (!isValidDate(year, month, day) ||
        __builtin_add_overflow(daysFromCivil(year, month, day), days, &target) || target < first ||
        target > last) {
        throw DateOutOfRange();
    }
    DateTime r = *this;
    civilFromDays(target, r.year, r.month, r.day);
    return r;
}

DateTime DateTime::oneYearEarlier() const {
    DateTime r = *this;
    r.year -= 1;
    if (r.day > daysInMonth(r.year, r.month)) r.day = daysInMonth(r.year, r.month);
    return r;
}

std::string DateTime::isoDate() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
    return buf;
}

std::string DateTime::dmyDate() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d-%02d-%04d", day, month, year);
    return buf;
}

std::string DateTime::isoDateTime() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return buf;
}

}  // namespace talvers
