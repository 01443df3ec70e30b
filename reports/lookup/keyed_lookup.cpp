#include "reports/lookup/keyed_lookup.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

std::optional<std::string> keyLiterals(const LookupKey& key, std::string_view kinds) {
    if (key.size() != kinds.size()) return std::nullopt;
    std::string literals;
    for (size_t i = 0; i < key.size(); ++i) {
        if (i > 0) literals += ", ";
        if (kinds[i] == 'N') {
            const auto number = sqlWholeNumber(key[i]);
            if (!number) return std::nullopt;
            literals += *number;
        } else {
            literals += "'" + sqlQuoted(key[i]) + "'";
        }
    }
    return literals;
}

}  // namespace talvers
