#pragma once
// A fixture ERP database for tests: a SQLite file in a fresh temporary folder, created with
// the ERP schema and filled by the test's own statements, then opened through the program's
// SQLite backend so that the T-SQL texts are rewritten exactly as in a real run.
#include <memory>
#include <string>

#include "shell/dataaccess/sqlite_connection.h"
#include "tests/temp_dir.h"

struct sqlite3;

namespace talvers::testing {

class ErpTestDatabase {
  public:
    ErpTestDatabase();  // the main database's tables, all empty
    ~ErpTestDatabase();
    ErpTestDatabase(const ErpTestDatabase&) = delete;
    ErpTestDatabase& operator=(const ErpTestDatabase&) = delete;

    // Runs statements straight on the file (no rewrite); fails the test with SQLite's message.
    void exec(const std::string& sql) const;
    std::unique_ptr<SqliteConnection> open() const;

  private:
    TempDir dir_;
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

}  // namespace talvers::testing
