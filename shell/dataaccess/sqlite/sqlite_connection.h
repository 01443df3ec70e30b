#pragma once
// SqliteConnection: the embedded backend. Opens an existing database file only (a missing
// file is a DatabaseError, never a new empty database), rewrites each of the program's T-SQL
// texts to SQLite before running it, and provides qor_LinhaParaString and
// qor_LinhaParaStringGuia as native functions. Its columns keep any value (see
// Connection::holdsOnlyDeclaredTypes).
#include <filesystem>
#include <memory>

#include "shell/dataaccess/connection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace talvers {

class SqliteDocumentKeys;
class SqliteDocumentLines;

class SqliteConnection : public Connection {
  public:
    // Throws DatabaseError when the file does not exist or is not a database.
    static std::unique_ptr<SqliteConnection> open(const std::filesystem::path& file);
    ~SqliteConnection() override;

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override;

  private:
    explicit SqliteConnection(sqlite3* db);
    // Rewrites and prepares one statement; the caller finalizes it. Throws DatabaseError.
    sqlite3_stmt* prepare(const std::string& tsql);
    sqlite3* db_;
    // The native functions keep prepared statements: destroyed before the database is closed
    // (the functions before the lines they share).
    std::unique_ptr<SqliteDocumentLines> documentLines_;
    std::unique_ptr<SqliteDocumentKeys> supplierOrderKeys_;
    std::unique_ptr<SqliteDocumentKeys> deliveryNoteKeys_;
};

}  // namespace talvers
