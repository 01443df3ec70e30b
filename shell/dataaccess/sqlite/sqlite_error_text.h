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
// The error for the connection's last failure; one about the database's file (isFileFailure)
// names the file: "A base de dados está danificada. Ficheiro: \"/dados/erp.db\"."
DatabaseError sqliteFailure(sqlite3* db);

// Whether `code` is about the database's file rather than a statement.
bool isFileFailure(int code);

}  // namespace talvers
