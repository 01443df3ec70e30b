#pragma once
// Portuguese descriptions of SQLite's common failures, the engine's text kept in parentheses.
#include <string>
#include <string_view>

namespace talvers {

// `code` is an SQLite result code (primary or extended), `engineText` sqlite3_errmsg's text.
std::string sqliteErrorText(int code, std::string_view engineText);

}  // namespace talvers
