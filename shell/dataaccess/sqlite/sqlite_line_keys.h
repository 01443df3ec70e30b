#pragma once
// SqliteLineKeys: a native document-key function's map from a document line (its rowid in
// DOCGCLIN) to the key of its document, for every line the function's filter selects, read
// from the document headers (the filter keeps few of them). A call then reads only the
// article's line rowids (SqliteDocumentLines) and joins the keys of the mapped ones: SQLite
// itself compares the argument with the column, so collation and affinity decide exactly as
// in the function's own statement "... and l.artigo=?1".
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "shell/dataaccess/sqlite/sqlite_document_lines.h"

struct sqlite3_value;

namespace talvers {

class SqliteLineKeys {
  public:
    // Reads the map anew from the shared statement's part for the function; false when that
    // statement cannot be prepared (the caller then asks per call). Throws DatabaseError.
    bool read(SqliteDocumentLines& lines, SqliteDocumentLines::Part part);
    // The keys of the article's mapped lines in rowid order, joined by ", ". Throws
    // DatabaseError.
    std::string keysFor(SqliteDocumentLines& lines, sqlite3_value* article);

  private:
    // A line that could match several headers (only without a unique header key) keeps all
    // their keys, joined in the order the map's statement gave them.
    std::unordered_map<std::int64_t, std::string> keyOfLine_;
    std::vector<std::int64_t> linesOfArticle_;  // kept between calls for its capacity
};

}  // namespace talvers
