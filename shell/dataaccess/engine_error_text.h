#pragma once
// Portuguese descriptions of the database engines' common failures. The engine's own text
// follows in parentheses, so the administrator still sees exactly what the engine said:
//   "A base de dados não tem a tabela AJUDACMP (no such table: AJUDACMP)".
// A failure without a Portuguese description of its own gets a general one, so no engine
// text reaches the user alone. Error numbers are not touched: they stay the engine's.
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

// `code` is an SQLite result code (primary or extended), `engineText` sqlite3_errmsg's text.
std::string sqliteErrorText(int code, std::string_view engineText);

// `states` are the SQLSTATEs of the driver's diagnostic records in order; the first one with
// a description of its own decides (a connection failure often starts with a general
// warning). `engineText` is the drivers' messages.
std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText);

}  // namespace talvers
