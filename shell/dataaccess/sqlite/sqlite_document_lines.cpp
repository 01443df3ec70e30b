#include "shell/dataaccess/sqlite/sqlite_document_lines.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"

namespace talvers {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Resets a kept statement however its use ends, so the next use starts clean.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace

SqliteDocumentLines::SqliteDocumentLines(sqlite3* db) : db_(db) {}

SqliteDocumentLines::~SqliteDocumentLines() {
    sqlite3_finalize(lines_);
}

SqliteDocumentLines::DataVersion SqliteDocumentLines::dataVersion() const {
    DataVersion version;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version.file);
    version.changes = sqlite3_total_changes64(db_);
    return version;
}

bool SqliteDocumentLines::hasView(const std::string& name) {
    if (!viewsReadFor_ || !(*viewsReadFor_ == dataVersion())) {
        sqlite3_stmt* read = nullptr;
        if (sqlite3_prepare_v2(db_, "SELECT name FROM sqlite_master WHERE type='view'", -1, &read,
                               nullptr) != SQLITE_OK) {
            throw sqliteFailure(db_);
        }
        views_.clear();
        int rc;
        while ((rc = sqlite3_step(read)) == SQLITE_ROW) {
            if (const auto* text = sqlite3_column_text(read, 0)) {
                views_.insert(lower(reinterpret_cast<const char*>(text)));
            }
        }
        sqlite3_finalize(read);
        if (rc != SQLITE_DONE) throw sqliteFailure(db_);
        viewsReadFor_ = dataVersion();
    }
    return views_.count(lower(name)) > 0;
}

bool SqliteDocumentLines::canReadLines() {
    if (lines_ != nullptr) return true;
    if (linesTriedFor_ && *linesTriedFor_ == dataVersion()) return false;
    const char* sql = "SELECT rowid FROM DOCGCLIN WHERE Artigo=?1 ORDER BY rowid";
    if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &lines_, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(lines_);
        lines_ = nullptr;
        linesTriedFor_ = dataVersion();
    }
    return lines_ != nullptr;
}

void SqliteDocumentLines::linesOf(sqlite3_value* article, std::vector<std::int64_t>& lines) {
    lines.clear();
    ResetOnExit reset{lines_};
    sqlite3_bind_value(lines_, 1, article);
    int rc;
    while ((rc = sqlite3_step(lines_)) == SQLITE_ROW) {
        lines.push_back(sqlite3_column_int64(lines_, 0));
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
}

}  // namespace talvers
