#include "shell/dataaccess/tsql/tsql_date_literal.h"

#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/tsql/tsql_tokenizer.h"

namespace talvers {
namespace {

// Reads minDigits..maxDigits decimal digits at pos; false when there are fewer.
bool readDigits(std::string_view text, size_t& pos, size_t minDigits, size_t maxDigits, int& out) {
    const size_t start = pos;
    out = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        out = out * 10 + (text[pos++] - '0');
    }
    return pos - start >= minDigits;
}

bool parseStyle102(std::string_view text, DateTime& t) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    size_t pos = 0;
    if (!readDigits(text, pos, 4, 4, t.year) || pos >= text.size()) return false;
    const char separator = text[pos++];
    if (separator != '-' && separator != '.') return false;
    if (!readDigits(text, pos, 1, 2, t.month) || pos >= text.size() || text[pos++] != separator ||
        !readDigits(text, pos, 1, 2, t.day) || !DateTime::isValidDate(t.year, t.month, t.day)) {
        return false;
    }
    if (pos == text.size()) return true;
    if (text[pos++] != ' ') return false;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (!readDigits(text, pos, 1, 2, t.hour) || pos >= text.size() || text[pos++] != ':' ||
        !readDigits(text, pos, 2, 2, t.minute)) {
        return false;
    }
    if (pos < text.size() && (text[pos++] != ':' || !readDigits(text, pos, 2, 2, t.second))) {
        return false;
    }
    return pos == text.size() && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
}

}  // namespace

std::string sqliteDateFromStyle102(std::string_view text) {
    DateTime t;
    if (!parseStyle102(text, t)) {
        throwUnsupportedTsql("data inválida em CONVERT(DATETIME, '" + std::string(text) +
                             "', 102)");
    }
    return t == t.dateOnly() ? t.isoDate() : t.isoDateTime();
}

}  // namespace talvers
