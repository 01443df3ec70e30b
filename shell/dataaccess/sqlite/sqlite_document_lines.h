#pragma once
// SqliteDocumentLines: what the two native document-key functions of a connection read alike,
// prepared once for both: the database's data version, the views that hold a database's own
// definitions, the selected lines' keys of each function, and an article's lines in DOCGCLIN.
//
// All of these come from one statement, prepared once per connection and run once per part
// asked (its parameter ?1 chooses the part; the other parts' conditions on it are constant,
// so SQLite tests them once before reading any row), so that the functions cost one prepared
// statement per connection however many of them a report calls and whichever way they answer.
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace talvers {

class SqliteDocumentLines {
  public:
    // What the database's data looked like: its data version (changed by any connection) and
    // this connection's own changes.
    struct DataVersion {
        unsigned int file = 0;
        std::int64_t changes = 0;
        bool operator==(const DataVersion&) const = default;
    };
    // The parts of the shared statement; a function's part lists (line rowid, document key).
    // ArticleLines lists (rowid, NULL) of the lines whose Artigo equals ?2.
    enum class Part { Views = 0, SupplierOrders = 1, DeliveryNotes = 2, ArticleLines = 3 };
    using Row = std::function<void(sqlite3_stmt*)>;

    // `sharedSql` is the shared statement: columns (rowid or NULL, text or NULL), ?1 the part.
    SqliteDocumentLines(sqlite3* db, std::string sharedSql);
    ~SqliteDocumentLines();
    SqliteDocumentLines(const SqliteDocumentLines&) = delete;
    SqliteDocumentLines& operator=(const SqliteDocumentLines&) = delete;

    // Current only once a statement has read the database since the data last changed.
    DataVersion dataVersion() const;
    // Whether the database has a view of that name, letter case aside; the view names are
    // read again when the data version changed. Throws DatabaseError.
    bool hasView(const std::string& name);
    // Runs the shared statement for a function's part, one call of `row` per row; false
    // (nothing read) when the statement cannot be prepared (DOCGCLIN without rowid, say),
    // tried again when the data version changed. Throws DatabaseError when a step fails.
    bool readLineKeys(Part part, const Row& row);
    // Whether DOCGCLIN's lines can be read by rowid (not so for a table WITHOUT ROWID): whether
    // the shared statement could be prepared, tried again when the data version changed.
    bool canReadLines();
    // The rowids of the DOCGCLIN lines whose Artigo equals `article` (as the column
    // compares), in rowid order, into `lines`; only when canReadLines(). Throws DatabaseError.
    void linesOf(sqlite3_value* article, std::vector<std::int64_t>& lines);

  private:
    bool preparedShared();
    void readShared(Part part, sqlite3_value* article, const Row& row);
    void readViews();

    sqlite3* db_;
    std::string sharedSql_;
    std::optional<DataVersion> sharedTriedFor_;
    sqlite3_stmt* shared_ = nullptr;
    std::optional<DataVersion> viewsReadFor_;
    std::set<std::string> views_;  // in lower case
};

}  // namespace talvers
