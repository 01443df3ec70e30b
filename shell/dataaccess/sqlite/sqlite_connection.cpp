#include "shell/dataaccess/sqlite/sqlite_connection.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_document_keys.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"
#include "shell/dataaccess/sqlite/sqlite_table_reader.h"
#include "shell/dataaccess/tsql/tsql_rewrite.h"

namespace talvers {
namespace {

// How long a statement waits for another process's lock before failing with "busy".
constexpr int kBusyTimeoutMs = 10000;

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

std::string utf8Path(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

// One sentence: the file, then why it cannot be used; SQLite's own text goes to the details.
DatabaseError openFailure(const std::string& path, int number, const std::string& engineText) {
    std::string reason = sqliteErrorText(number, engineText);
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z')
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return DatabaseError(
        number, "Não foi possível abrir a base de dados SQLite \"" + path + "\": " + reason,
        engineText);
}

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::open(const std::filesystem::path& file) {
    const std::string path = utf8Path(file);
    // SQLite reads an empty name as a private temporary database: that is no ERP database.
    if (path.empty()) {
        throw DatabaseError(SQLITE_CANTOPEN,
                            "Não foi indicado o ficheiro da base de dados SQLite.");
    }
    sqlite3* db = nullptr;
    // Never SQLITE_OPEN_CREATE: a mistyped file name must fail, not become an empty database.
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const long number = db ? sqlite3_extended_errcode(db) : rc;
        const std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw openFailure(path, static_cast<int>(number), reason);
    }
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(db));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Opening is lazy: reading the schema is what tells a database from any other file, and
    // setting the page cache reads it. Reports read the same pages of the document tables
    // many times over (main query, then each lookup); a page cache of up to 64 MiB keeps them
    // instead of SQLite's default 2 MiB, which made a large report read them from the file
    // again and again. The cache grows only as pages are read. Memory-mapped reads are left
    // off: on a network drive an I/O error in a mapped file arrives as a signal.
    if (sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int number = sqlite3_extended_errcode(db);
        throw openFailure(path, number, sqlite3_errmsg(db));
    }
    connection->documentLines_ =
        std::make_unique<SqliteDocumentLines>(db, SqliteDocumentKeys::sharedSql());
    connection->supplierOrderKeys_ =
        SqliteDocumentKeys::supplierOrders(db, *connection->documentLines_);
    connection->deliveryNoteKeys_ =
        SqliteDocumentKeys::deliveryNotes(db, *connection->documentLines_);
    return connection;
}

SqliteConnection::SqliteConnection(sqlite3* db) : db_(db) {}

SqliteConnection::~SqliteConnection() {
    supplierOrderKeys_.reset();
    deliveryNoteKeys_.reset();
    documentLines_.reset();
    sqlite3_close_v2(db_);
}

Table SqliteConnection::runQuery(const std::string& sql) {
    const Statement statement(prepare(sql));
    return readSqliteRows(db_, statement.get());
}

void SqliteConnection::runExecute(const std::string& sql) {
    const Statement statement(prepare(sql));
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
}

sqlite3_stmt* SqliteConnection::prepare(const std::string& tsql) {
    const std::string sql = rewriteTsqlForSqlite(tsql);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK) {
        throw sqliteFailure(db_);
    }
    if (statement == nullptr) throw DatabaseError(SQLITE_MISUSE, "A instrução SQL está vazia.");
    return statement;
}

}  // namespace talvers
