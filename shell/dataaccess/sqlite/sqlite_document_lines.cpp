#include "shell/dataaccess/sqlite/sqlite_document_lines.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"
#include "shell/dataaccess/sqlite/sqlite_statement_reset.h"

namespace talvers {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

SqliteDocumentLines::SqliteDocumentLines(sqlite3* db, std::string sharedSql)
    : db_(db), sharedSql_(std::move(sharedSql)) {}

SqliteDocumentLines::~SqliteDocumentLines() {
    sqlite3_finalize(shared_);
}

SqliteDocumentLines::DataVersion SqliteDocumentLines::dataVersion() const {
    DataVersion version;
    sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version.file);
    version.changes = sqlite3_total_changes64(db_);
    return version;
}

bool SqliteDocumentLines::preparedShared() {
    if (shared_ != nullptr) return true;
    if (sharedTriedFor_ && *sharedTriedFor_ == dataVersion()) return false;
    if (sqlite3_prepare_v3(db_, sharedSql_.c_str(), static_cast<int>(sharedSql_.size()),
                           SQLITE_PREPARE_PERSISTENT, &shared_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(shared_);
        shared_ = nullptr;
        sharedTriedFor_ = dataVersion();
    }
    return shared_ != nullptr;
}

void SqliteDocumentLines::readShared(Part part, sqlite3_value* article, const Row& row) {
    StatementResetOnExit reset{shared_};
    sqlite3_bind_int(shared_, 1, static_cast<int>(part));
    if (article != nullptr) sqlite3_bind_value(shared_, 2, article);
    int rc;
    while ((rc = sqlite3_step(shared_)) == SQLITE_ROW) row(shared_);
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
}

bool SqliteDocumentLines::readLineKeys(Part part, const Row& row) {
    if (!preparedShared()) return false;
    readShared(part, nullptr, row);
    return true;
}

// Without the shared statement (a database whose document tables cannot be read so), the
// views are read by a statement of their own.
void SqliteDocumentLines::readViews() {
    views_.clear();
    const auto keep = [this](sqlite3_stmt* statement) {
        if (const auto* text = sqlite3_column_text(statement, 1)) {
            views_.insert(lower(reinterpret_cast<const char*>(text)));
        }
    };
    if (preparedShared()) {
        readShared(Part::Views, nullptr, keep);
        return;
    }
    sqlite3_stmt* read = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT NULL, name FROM sqlite_master WHERE type='view'", -1, &read,
                           nullptr) != SQLITE_OK) {
        throw sqliteFailure(db_);
    }
    int rc;
    while ((rc = sqlite3_step(read)) == SQLITE_ROW) keep(read);
    sqlite3_finalize(read);
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
}

bool SqliteDocumentLines::hasView(const std::string& name) {
    if (!viewsReadFor_ || !(*viewsReadFor_ == dataVersion())) {
        readViews();
        viewsReadFor_ = dataVersion();
    }
    return views_.count(lower(name)) > 0;
}

bool SqliteDocumentLines::canReadLines() {
    return preparedShared();
}

// Sorted here rather than by the statement: a compound statement orders only as a whole.
void SqliteDocumentLines::linesOf(sqlite3_value* article, std::vector<std::int64_t>& lines) {
    lines.clear();
    readShared(Part::ArticleLines, article,
               [&lines](sqlite3_stmt* row) { lines.push_back(sqlite3_column_int64(row, 0)); });
    std::sort(lines.begin(), lines.end());
}

}  // namespace talvers
