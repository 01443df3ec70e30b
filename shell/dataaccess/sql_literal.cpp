#include "shell/dataaccess/sql_literal.h"

#include "shell/dataaccess/text_utils.h"

namespace talvers {

std::string sqlQuoted(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::optional<std::string> sqlWholeNumber(std::string_view text) {
    std::string t = trimBlanks(text);
    size_t start = !t.empty() && t[0] == '-' ? 1 : 0;
    if (t.size() == start || t.size() - start > 18) return std::nullopt;
    for (size_t i = start; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
    }
    return t;
}

}  // namespace talvers
