#include "sample/sample_database.h"

#include "shell/platform/utf8_path.h"

#include <sqlite3.h>

#include <stdexcept>

namespace talvers {

SampleDatabase::SampleDatabase(const std::filesystem::path& file, const char* schemaSql)
    : file_(file) {
    std::filesystem::remove(file_);
    if (sqlite3_open_v2(utf8FromPath(file_).c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "sem memória";
        sqlite3_close(db_);
        throw std::runtime_error("Não foi possível criar " + utf8FromPath(file_) + ": " + reason);
    }
    // The file is written under a temporary name and renamed only once complete, so a crash
    // midway needs no journal to recover from.
    execute("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;");
    execute(schemaSql);
    execute("BEGIN");
}

SampleDatabase::~SampleDatabase() {
    if (db_) sqlite3_close_v2(db_);
}

std::vector<SampleTableCount> SampleDatabase::finish() {
    execute("COMMIT");
    std::vector<SampleTableCount> counts;
    const auto eachRow = [&](const std::string& sql, auto&& onRow) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            throw std::runtime_error("Erro ao ler " + utf8FromPath(file_) + ": " +
                                     sqlite3_errmsg(db_));
        }
        while (sqlite3_step(statement) == SQLITE_ROW) onRow(statement);
        sqlite3_finalize(statement);
    };
    eachRow("SELECT name FROM sqlite_master WHERE type='table' ORDER BY rowid",
            [&](sqlite3_stmt* row) {
                counts.push_back({reinterpret_cast<const char*>(sqlite3_column_text(row, 0)), 0});
            });
    for (SampleTableCount& count : counts) {
        eachRow("SELECT count(*) FROM \"" + count.table + "\"", [&](sqlite3_stmt* row) {
            count.rows = static_cast<long>(sqlite3_column_int64(row, 0));
        });
    }
    // A maintained ERP database has statistics for the planner; without them SQLite reads
    // every order line through the article index to find the few the reports ask for.
    execute("ANALYZE");
    if (sqlite3_close(db_) != SQLITE_OK) {
        throw std::runtime_error("Não foi possível fechar " + utf8FromPath(file_) + ": " +
                                 sqlite3_errmsg(db_));
    }
    db_ = nullptr;
    return counts;
}

void SampleDatabase::execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw std::runtime_error("Erro ao gravar " + utf8FromPath(file_) + ": " + reason);
    }
}

}  // namespace talvers
