#include "reports/lookup/keyed_lookup.h"

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

size_t LookupKeyHash::operator()(const LookupKey& key) const {
    size_t hash = key.size();
    for (const std::string& part : key) {
        hash = hash * 1000003 ^ std::hash<std::string_view>{}(part);
    }
    return hash;
}

std::optional<LookupKey> sendableParts(const LookupKey& key, std::string_view kinds) {
    if (key.size() != kinds.size()) return std::nullopt;
    LookupKey parts = key;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (kinds[i] != 'N') continue;
        auto number = sqlWholeNumber(parts[i]);
        if (!number) return std::nullopt;
        parts[i] = std::move(*number);
    }
    return parts;
}

KeyedLookup articleLookup(std::string (*perRow)(std::string_view), std::string head,
                          std::string tail) {
    return {
        [perRow](const LookupKey& key) -> std::optional<std::string> { return perRow(key.at(0)); },
        {"Artigo"},
        "T",
        {},
        [head = std::move(head), tail = std::move(tail)](std::string_view keyTable) {
            return head + std::string(keyTable) + tail;
        }};
}

}  // namespace talvers
