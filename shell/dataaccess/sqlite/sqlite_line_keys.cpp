#include "shell/dataaccess/sqlite/sqlite_line_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"

namespace talvers {

std::unique_ptr<SqliteLineKeys> SqliteLineKeys::prepare(sqlite3* db,
                                                        const std::string& lineKeysSql) {
    sqlite3_stmt* lineKeys = nullptr;
    if (sqlite3_prepare_v3(db, lineKeysSql.c_str(), static_cast<int>(lineKeysSql.size()),
                           SQLITE_PREPARE_PERSISTENT, &lineKeys, nullptr) != SQLITE_OK) {
        sqlite3_finalize(lineKeys);
        return nullptr;
    }
    return std::unique_ptr<SqliteLineKeys>(new SqliteLineKeys(db, lineKeys));
}

SqliteLineKeys::SqliteLineKeys(sqlite3* db, sqlite3_stmt* lineKeys)
    : db_(db), lineKeys_(lineKeys) {}

SqliteLineKeys::~SqliteLineKeys() {
    sqlite3_finalize(lineKeys_);
}

void SqliteLineKeys::read() {
    keyOfLine_.clear();
    int rc;
    while ((rc = sqlite3_step(lineKeys_)) == SQLITE_ROW) {
        const auto* key = sqlite3_column_text(lineKeys_, 1);
        if (key == nullptr) continue;  // a key with a missing part lists nothing
        std::string& keys = keyOfLine_[sqlite3_column_int64(lineKeys_, 0)];
        if (!keys.empty()) keys += ", ";
        keys.append(reinterpret_cast<const char*>(key),
                    static_cast<size_t>(sqlite3_column_bytes(lineKeys_, 1)));
    }
    if (rc != SQLITE_DONE) {
        keyOfLine_.clear();
        const DatabaseError error = sqliteFailure(db_);
        sqlite3_reset(lineKeys_);
        throw error;
    }
    sqlite3_reset(lineKeys_);
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
