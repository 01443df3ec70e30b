#pragma once
// The native SQLite form of qor_LinhaParaString and qor_LinhaParaStringGuia: for an article
// code, the keys type/year/series/number of the document lines its filter selects, joined by
// ", ", or '' (never NULL) when none match. One object per function and connection; it keeps
// its prepared statement for the connection's life and must be destroyed before the
// connection is closed.
//
// Order of the keys: the order SQLite's plan visits the article's lines, with no ORDER BY, as
// the SQL Server function does. With the ERP schema's DOCGCLIN_Artigo index that is the order
// in which the lines were stored; a document with several lines of the article is listed once
// per line. A line whose key has a missing (NULL) part is left out instead of wiping the keys
// gathered before it.
//
// A database's own definition: SQL Server keeps a function of that name that already exists,
// and some sites' definitions list line-level keys. SQLite has no stored functions, so a
// database that defines its own keeps them in a view named after the function with "_chaves"
// appended, with one row per key and the columns Artigo and Chave; when that view exists the
// function joins the article's Chave values (compared as the view's Artigo column compares)
// instead.
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_stmt;
struct sqlite3_value;

namespace talvers {

class SqliteDocumentKeys {
  public:
    // Open supplier orders of the article (qor_LinhaParaString).
    static std::unique_ptr<SqliteDocumentKeys> supplierOrders(sqlite3* db);
    // Supplier delivery notes of the article (qor_LinhaParaStringGuia).
    static std::unique_ptr<SqliteDocumentKeys> deliveryNotes(sqlite3* db);
    ~SqliteDocumentKeys();
    SqliteDocumentKeys(const SqliteDocumentKeys&) = delete;
    SqliteDocumentKeys& operator=(const SqliteDocumentKeys&) = delete;

  private:
    // Registers `name` on db as a one-argument function selecting lines by `filter`.
    SqliteDocumentKeys(sqlite3* db, const char* name, const char* filter);
    static void call(sqlite3_context* context, int argc, sqlite3_value** argv);
    // Throws DatabaseError when the statement cannot be prepared or run.
    std::string keysFor(sqlite3_value* article);
    bool hasOwnDefinition() const;

    sqlite3* db_;
    std::string name_;
    std::string sql_;
    sqlite3_stmt* statement_ = nullptr;  // prepared on first use
};

}  // namespace talvers
