// Any text given to the SQLite rewrite is either translated or refused with DatabaseError;
// the translation is deterministic, and a text with no letter and no '+' (so no T-SQL-only
// construct) comes back byte for byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/tsql/tsql_rewrite.h"

namespace {

bool mayHoldTsqlConstruct(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b == '+' || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string tsql(reinterpret_cast<const char*>(data), size);
    std::string first;
    try {
        first = talvers::rewriteTsqlForSqlite(tsql);
    } catch (const talvers::DatabaseError&) {
        return 0;
    }
    if (talvers::rewriteTsqlForSqlite(tsql) != first) std::abort();
    if (!mayHoldTsqlConstruct(tsql) && first != tsql) std::abort();
    return 0;
}
