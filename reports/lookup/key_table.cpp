#include "reports/lookup/key_table.h"

#include <cstdio>

#include "shell/dataaccess/sql_literal.h"

namespace talvers {

std::string valuesKeyTable(std::span<const LookupKey> keys, const std::vector<std::string>& columns,
                           std::string_view kinds) {
    std::string rows;
    for (size_t n = 0; n < keys.size(); ++n) {
        rows += n == 0 ? "(" : ", (";
        rows += std::to_string(n);
        for (size_t i = 0; i < kinds.size(); ++i) {
            rows += ", ";
            rows += kinds[i] == 'N' ? keys[n][i] : "'" + sqlQuoted(keys[n][i]) + "'";
        }
        rows += ")";
    }
    std::string names;
    for (const std::string& column : columns) names += ", " + column;
    return "(values " + rows + ") as k(n" + names + ")";
}

std::string jsonKeyTable(std::span<const LookupKey> keys, const std::vector<std::string>& columns,
                         std::string_view kinds) {
    std::string json = "[";
    for (size_t n = 0; n < keys.size(); ++n) {
        json += n == 0 ? "[" : ",[";
        for (size_t i = 0; i < keys[n].size(); ++i) {
            if (i > 0) json += ",";
            json += jsonString(keys[n][i]);
        }
        json += "]";
    }
    json += "]";
    std::string select = "(select CAST(j.[key] AS int) as n";
    for (size_t i = 0; i < kinds.size(); ++i) {
        const std::string part = "JSON_VALUE(j.value, '$[" + std::to_string(i) + "]')";
        select += kinds[i] == 'N' ? ", CAST(" + part + " AS bigint) as "
                                  : ", CAST(" + part + " AS varchar(8000)) as ";
        select += columns.at(i);
    }
    return select + " from OPENJSON('" + sqlQuoted(json) + "') as j) as k";
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace talvers
