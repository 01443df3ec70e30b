#pragma once
// SqliteDocumentLines: what the two native document-key functions of a connection read alike,
// prepared once for both: the database's data version, the views that hold a database's own
// definitions, and an article's lines in DOCGCLIN.
#include <cstdint>
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

    explicit SqliteDocumentLines(sqlite3* db);
    ~SqliteDocumentLines();
    SqliteDocumentLines(const SqliteDocumentLines&) = delete;
    SqliteDocumentLines& operator=(const SqliteDocumentLines&) = delete;

    // Current only once a statement has read the database since the data last changed.
    DataVersion dataVersion() const;
    // Whether the database has a view of that name, letter case aside; the view names are
    // read again when the data version changed. Throws DatabaseError.
    bool hasView(const std::string& name);
    // Whether DOCGCLIN's lines can be read by rowid (not so for a table WITHOUT ROWID); asked
    // again when the data version changed.
    bool canReadLines();
    // The rowids of the DOCGCLIN lines whose Artigo equals `article` (as the column
    // compares), in rowid order, into `lines`; only when canReadLines(). Throws DatabaseError.
    void linesOf(sqlite3_value* article, std::vector<std::int64_t>& lines);

  private:
    sqlite3* db_;
    std::optional<DataVersion> viewsReadFor_;
    std::set<std::string> views_;  // in lower case
    std::optional<DataVersion> linesTriedFor_;
    sqlite3_stmt* lines_ = nullptr;
};

}  // namespace talvers
