#pragma once
// The native SQLite form of qor_LinhaParaString and qor_LinhaParaStringGuia: for an article
// code, the keys type/year/series/number of the document lines its filter selects, joined by
// ", ", or '' (never NULL) when none match. One object per function and connection; it keeps
// its prepared statements for the connection's life and must be destroyed before the
// connection is closed, and before the SqliteDocumentLines it shares with the other function.
//
// Order of the keys: the order the article's lines are stored in (rowid), which is the order
// SQLite's plan visited them in through the ERP schema's DOCGCLIN_Artigo index; a document
// with several lines of the article is listed once per line. A line whose key has a missing
// (NULL) part is left out instead of wiping the keys gathered before it.
//
// How it answers: from a map of the selected lines' keys (SqliteLineKeys), read again
// whenever the database's data changed since it was read (by this connection or another);
// per call with the function's own statement when DOCGCLIN has no rowid (in the plan's order
// then).
//
// A database's own definition: SQL Server keeps a function of that name that already exists,
// and some sites' definitions list line-level keys. SQLite has no stored functions, so a
// database that defines its own keeps them in a view named after the function with "_chaves"
// appended, with one row per key and the columns Artigo and Chave; when that view exists the
// function joins the article's Chave values (compared as the view's Artigo column compares,
// in the order the view gives its rows when read whole) instead, from the view read once per
// data version (SqliteViewKeys).
#include <memory>
#include <optional>
#include <string>

#include "shell/dataaccess/sqlite/sqlite_document_lines.h"
#include "shell/dataaccess/sqlite/sqlite_line_keys.h"
#include "shell/dataaccess/sqlite/sqlite_view_keys.h"

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace talvers {

class SqliteDocumentKeys {
  public:
    // Open supplier orders of the article (qor_LinhaParaString).
    static std::unique_ptr<SqliteDocumentKeys> supplierOrders(sqlite3* db,
                                                              SqliteDocumentLines& lines);
    // Supplier delivery notes of the article (qor_LinhaParaStringGuia).
    static std::unique_ptr<SqliteDocumentKeys> deliveryNotes(sqlite3* db,
                                                             SqliteDocumentLines& lines);
    // The statement the connection's SqliteDocumentLines shares between both functions.
    static std::string sharedSql();
    ~SqliteDocumentKeys();
    SqliteDocumentKeys(const SqliteDocumentKeys&) = delete;
    SqliteDocumentKeys& operator=(const SqliteDocumentKeys&) = delete;

  private:
    // Registers `name` on db as a one-argument function selecting lines by `filter`.
    SqliteDocumentKeys(sqlite3* db, SqliteDocumentLines& lines, const char* name,
                       const char* filter, SqliteDocumentLines::Part part);
    static void call(sqlite3_context* context, int argc, sqlite3_value** argv);
    // Throws DatabaseError when a statement cannot be prepared or run.
    std::string keysFor(sqlite3_value* article);
    // Chooses how to answer for the current data (own definition, map or per call).
    void chooseWay();
    std::string keysPerCall(sqlite3_value* article);
    std::string keysFromView(sqlite3_value* article);
    // Prepares `sql` as the per-call statement. Throws DatabaseError.
    void preparePerCall(const std::string& sql);

    sqlite3* db_;
    SqliteDocumentLines& lines_;
    std::string name_;
    SqliteDocumentLines::Part part_;
    std::string perCallSql_;
    std::optional<SqliteDocumentLines::DataVersion> chosenFor_;
    std::unique_ptr<SqliteLineKeys> lineKeys_;
    std::unique_ptr<SqliteViewKeys> viewKeys_;
    std::string viewSql_;  // the view's own statement for one argument
    sqlite3_stmt* perCall_ = nullptr;
};

}  // namespace talvers
