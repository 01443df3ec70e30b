#pragma once
// SqliteViewKeys: a database's own definition of a document-key function (a view with the
// columns Artigo and Chave, see SqliteDocumentKeys) read whole once, so that a report's many
// calls do not each run the view's query.
//
// The view's comparison decides which rows belong to an argument, and only SQLite knows it. The
// built-in collations (BINARY, NOCASE, RTRIM) never make two texts equal that differ beyond
// ASCII letter case and trailing blanks; so the rows are grouped by their exact Artigo text and
// indexed by that folded form. A text argument whose folded form names no group has no keys; one
// naming a single group of exactly its own text has that group's keys (equal texts compare
// equal whatever the collation). Anything else (an argument that differs from its group only by
// letter case or blanks, a folded form shared by several groups, a number) is left to the view's
// own statement, as is a view whose Artigo holds anything but texts and NULLs.
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_value;

namespace talvers {

class SqliteViewKeys {
  public:
    // Reads the view `view`; nullptr when its Artigo holds other values than texts and NULLs.
    // Throws DatabaseError.
    static std::unique_ptr<SqliteViewKeys> read(sqlite3* db, const std::string& view);

    // The keys of the argument, joined by ", " in the order the view gave them, or nothing when
    // only the view's own statement can tell.
    std::optional<std::string> keysFor(sqlite3_value* article) const;

    // ASCII letters in lower case and trailing blanks removed: texts that any built-in
    // collation could take as equal fold alike.
    static std::string folded(const std::string& text);

  private:
    struct Group {
        std::string text;  // the exact Artigo text of the first group folding so
        bool several = false;
    };
    std::unordered_map<std::string, std::string> keysOf_;  // by exact Artigo text
    std::unordered_map<std::string, Group> byFolded_;
};

}  // namespace talvers
