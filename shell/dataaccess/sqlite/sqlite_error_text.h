#pragma once
// Portuguese descriptions of SQLite's common failures, one sentence each; SQLite's own text
// becomes the error's details.
#include <string>
#include <string_view>

#include "shell/dataaccess/database_error.h"

struct sqlite3;

namespace talvers {

// `code` is an SQLite result code (primary or extended), `engineText` sqlite3_errmsg's text
// (read for the name of a missing table or column).
std::string sqliteErrorText(int code, std::string_view engineText);

// The error for `code`: sqliteErrorText as its description, `engineText` as its details.
DatabaseError sqliteFailure(int code, std::string_view engineText);
// The error for the connection's last failure.
DatabaseError sqliteFailure(sqlite3* db);

}  // namespace talvers
