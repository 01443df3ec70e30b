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

std::string keyTable(std::string_view rows, std::string_view columns) {
    return "(values " + std::string(rows) + ") as k(n, " + std::string(columns) + ")";
}

KeyedLookup articleLookup(std::string (*perRow)(std::string_view), std::string head,
                          std::string tail) {
    return {
        [perRow](const LookupKey& key) -> std::optional<std::string> { return perRow(key.at(0)); },
        [](const LookupKey& key) { return keyLiterals(key, "T"); },
        [head = std::move(head), tail = std::move(tail)](std::string_view rows) {
            return head + keyTable(rows, "Artigo") + tail;
        }};
}

}  // namespace talvers
