#include "shell/dataaccess/sqlite/sqlite_line_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"

namespace talvers {

bool SqliteLineKeys::read(SqliteDocumentLines& lines, SqliteDocumentLines::Part part) {
    keyOfLine_.clear();
    try {
        return lines.readLineKeys(part, [this](sqlite3_stmt* row) {
            const auto* key = sqlite3_column_text(row, 1);
            if (key == nullptr) return;  // a key with a missing part lists nothing
            std::string& keys = keyOfLine_[sqlite3_column_int64(row, 0)];
            if (!keys.empty()) keys += ", ";
            keys.append(reinterpret_cast<const char*>(key),
                        static_cast<size_t>(sqlite3_column_bytes(row, 1)));
        });
    } catch (const DatabaseError&) {
        keyOfLine_.clear();
        throw;
    }
}

std::string SqliteLineKeys::keysFor(SqliteDocumentLines& lines, sqlite3_value* article) {
    lines.linesOf(article, linesOfArticle_);
    std::string keys;
    for (const std::int64_t line : linesOfArticle_) {
        const auto found = keyOfLine_.find(line);
        if (found == keyOfLine_.end()) continue;
        if (!keys.empty()) keys += ", ";
        keys += found->second;
    }
    return keys;
}

}  // namespace talvers
