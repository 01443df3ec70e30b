#include "shell/dataaccess/sqlite/sqlite_line_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"

namespace talvers {
namespace {

[[noreturn]] void throwLastError(sqlite3* db) {
    const int number = sqlite3_extended_errcode(db);
    throw DatabaseError(number, sqliteErrorText(number, sqlite3_errmsg(db)));
}

// Resets a kept statement however its use ends, so the next use starts clean.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

sqlite3_stmt* preparePersistent(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return statement;
}

}  // namespace

std::unique_ptr<SqliteLineKeys> SqliteLineKeys::prepare(sqlite3* db,
                                                        const std::string& lineKeysSql) {
    sqlite3_stmt* lineKeys = preparePersistent(db, lineKeysSql);
    if (lineKeys == nullptr) return nullptr;
    sqlite3_stmt* lines =
        preparePersistent(db, "SELECT rowid FROM DOCGCLIN WHERE Artigo=?1 ORDER BY rowid");
    if (lines == nullptr) {
        sqlite3_finalize(lineKeys);
        return nullptr;
    }
    return std::unique_ptr<SqliteLineKeys>(new SqliteLineKeys(db, lineKeys, lines));
}

SqliteLineKeys::SqliteLineKeys(sqlite3* db, sqlite3_stmt* lineKeys, sqlite3_stmt* linesOfArticle)
    : db_(db), lineKeys_(lineKeys), linesOfArticle_(linesOfArticle) {}

SqliteLineKeys::~SqliteLineKeys() {
    sqlite3_finalize(lineKeys_);
    sqlite3_finalize(linesOfArticle_);
}

void SqliteLineKeys::read() {
    keyOfLine_.clear();
    ResetOnExit reset{lineKeys_};
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
        throwLastError(db_);
    }
}

std::string SqliteLineKeys::keysFor(sqlite3_value* article) {
    ResetOnExit reset{linesOfArticle_};
    sqlite3_bind_value(linesOfArticle_, 1, article);
    std::string keys;
    int rc;
    while ((rc = sqlite3_step(linesOfArticle_)) == SQLITE_ROW) {
        const auto found = keyOfLine_.find(sqlite3_column_int64(linesOfArticle_, 0));
        if (found == keyOfLine_.end()) continue;
        if (!keys.empty()) keys += ", ";
        keys += found->second;
    }
    if (rc != SQLITE_DONE) throwLastError(db_);
    return keys;
}

}  // namespace talvers
