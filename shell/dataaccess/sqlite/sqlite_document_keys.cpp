#include "shell/dataaccess/sqlite/sqlite_document_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/document_key_functions.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"
#include "shell/dataaccess/tsql/tsql_rewrite.h"

namespace talvers {
namespace {

namespace keys = document_key_functions;

// Resets the shared statement however the call ends, so the next call starts clean.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
};

}  // namespace

std::unique_ptr<SqliteDocumentKeys> SqliteDocumentKeys::supplierOrders(sqlite3* db) {
    return std::unique_ptr<SqliteDocumentKeys>(
        new SqliteDocumentKeys(db, "qor_LinhaParaString", keys::kSupplierOrderFilter));
}

std::unique_ptr<SqliteDocumentKeys> SqliteDocumentKeys::deliveryNotes(sqlite3* db) {
    return std::unique_ptr<SqliteDocumentKeys>(
        new SqliteDocumentKeys(db, "qor_LinhaParaStringGuia", keys::kDeliveryNoteFilter));
}

SqliteDocumentKeys::SqliteDocumentKeys(sqlite3* db, const char* name, const char* filter)
    : db_(db),
      name_(name),
      sql_(rewriteTsqlForSqlite(std::string(" SELECT ") + keys::kKey + keys::kFrom + keys::kJoin +
                                keys::kJoinYear + filter) +
           " and l.artigo=?1") {
    const int rc = sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8, this, &call, nullptr,
                                              nullptr, nullptr);
    if (rc != SQLITE_OK) {
        throw sqliteFailure(db);
    }
}

SqliteDocumentKeys::~SqliteDocumentKeys() {
    sqlite3_finalize(statement_);
}

void SqliteDocumentKeys::call(sqlite3_context* context, int, sqlite3_value** argv) {
    auto* self = static_cast<SqliteDocumentKeys*>(sqlite3_user_data(context));
    try {
        const std::string keys = self->keysFor(argv[0]);
        sqlite3_result_text(context, keys.c_str(), static_cast<int>(keys.size()), SQLITE_TRANSIENT);
    } catch (const DatabaseError& error) {
        // This text becomes the failing statement's engine text, so it keeps both parts.
        const std::string text = error.details().empty()
                                     ? error.description()
                                     : error.description() + " " + error.details();
        sqlite3_result_error(context, text.c_str(), -1);
    }
}

// Whether the database defines the function's keys itself (see the header).
bool SqliteDocumentKeys::hasOwnDefinition() const {
    sqlite3_stmt* check = nullptr;
    const char* sql = "SELECT 1 FROM sqlite_master WHERE type='view' AND name=?1 COLLATE NOCASE";
    if (sqlite3_prepare_v2(db_, sql, -1, &check, nullptr) != SQLITE_OK) {
        throw sqliteFailure(db_);
    }
    const std::string view = name_ + "_chaves";
    sqlite3_bind_text(check, 1, view.c_str(), -1, SQLITE_TRANSIENT);
    const bool found = sqlite3_step(check) == SQLITE_ROW;
    sqlite3_finalize(check);
    return found;
}

std::string SqliteDocumentKeys::keysFor(sqlite3_value* article) {
    if (statement_ == nullptr) {
        if (hasOwnDefinition()) sql_ = "SELECT Chave FROM " + name_ + "_chaves WHERE Artigo=?1";
        if (sqlite3_prepare_v3(db_, sql_.c_str(), static_cast<int>(sql_.size()),
                               SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK) {
            throw sqliteFailure(db_);
        }
    }
    ResetOnExit reset{statement_};
    sqlite3_bind_value(statement_, 1, article);
    std::string keys;
    int rc;
    while ((rc = sqlite3_step(statement_)) == SQLITE_ROW) {
        const auto* key = sqlite3_column_text(statement_, 0);
        if (key == nullptr) continue;
        if (!keys.empty()) keys += ", ";
        keys.append(reinterpret_cast<const char*>(key),
                    static_cast<size_t>(sqlite3_column_bytes(statement_, 0)));
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
    return keys;
}

}  // namespace talvers
