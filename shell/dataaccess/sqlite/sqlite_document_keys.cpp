#include "shell/dataaccess/sqlite/sqlite_document_keys.h"

#include <sqlite3.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/document_key_functions.h"
#include "shell/dataaccess/sqlite/sqlite_error_text.h"
#include "shell/dataaccess/sqlite/sqlite_statement_reset.h"
#include "shell/dataaccess/tsql/tsql_rewrite.h"

namespace talvers {
namespace {

namespace keys = document_key_functions;

}  // namespace

std::unique_ptr<SqliteDocumentKeys> SqliteDocumentKeys::supplierOrders(sqlite3* db,
                                                                       SqliteDocumentLines& lines) {
    return std::unique_ptr<SqliteDocumentKeys>(
        new SqliteDocumentKeys(db, lines, "qor_LinhaParaString", keys::kSupplierOrderFilter,
                               SqliteDocumentLines::Part::SupplierOrders));
}

std::unique_ptr<SqliteDocumentKeys> SqliteDocumentKeys::deliveryNotes(sqlite3* db,
                                                                      SqliteDocumentLines& lines) {
    return std::unique_ptr<SqliteDocumentKeys>(
        new SqliteDocumentKeys(db, lines, "qor_LinhaParaStringGuia", keys::kDeliveryNoteFilter,
                               SqliteDocumentLines::Part::DeliveryNotes));
}

// Each function's map starts from the headers (CROSS JOIN keeps SQLite from starting at the
// lines), with the join conditions moved into WHERE; the part's own condition on ?1 is
// constant, so SQLite tests it once before reading any row.
std::string SqliteDocumentKeys::sharedSql() {
    const auto lineKeys = [](const char* filter, SqliteDocumentLines::Part part) {
        return rewriteTsqlForSqlite(std::string(" SELECT l.rowid, ") + keys::kKey + keys::kFrom +
                                    " CROSS JOIN DOCGCLIN as l" + filter + " and " +
                                    keys::kJoinCondition + keys::kJoinYear) +
               " and ?1=" + std::to_string(static_cast<int>(part));
    };
    return "SELECT NULL, name FROM sqlite_master WHERE type='view' and ?1=" +
           std::to_string(static_cast<int>(SqliteDocumentLines::Part::Views)) + " UNION ALL" +
           lineKeys(keys::kSupplierOrderFilter, SqliteDocumentLines::Part::SupplierOrders) +
           " UNION ALL" +
           lineKeys(keys::kDeliveryNoteFilter, SqliteDocumentLines::Part::DeliveryNotes) +
           " UNION ALL SELECT rowid, NULL FROM DOCGCLIN WHERE Artigo=?2 and ?1=" +
           std::to_string(static_cast<int>(SqliteDocumentLines::Part::ArticleLines));
}

SqliteDocumentKeys::SqliteDocumentKeys(sqlite3* db, SqliteDocumentLines& lines, const char* name,
                                       const char* filter, SqliteDocumentLines::Part part)
    : db_(db),
      lines_(lines),
      name_(name),
      part_(part),
      perCallSql_(rewriteTsqlForSqlite(std::string(" SELECT ") + keys::kKey + keys::kFrom +
                                       keys::kJoin + keys::kJoinCondition + keys::kJoinYear +
                                       filter) +
                  " and l.artigo=?1") {
    const int rc = sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8, this, &call, nullptr,
                                              nullptr, nullptr);
    if (rc != SQLITE_OK) throw sqliteFailure(db);
}

SqliteDocumentKeys::~SqliteDocumentKeys() {
    lineKeys_.reset();
    sqlite3_finalize(perCall_);
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

void SqliteDocumentKeys::chooseWay() {
    chosenFor_.reset();
    lineKeys_.reset();
    viewKeys_.reset();
    viewSql_.clear();
    sqlite3_finalize(perCall_);
    perCall_ = nullptr;
    if (lines_.hasView(name_ + "_chaves")) {
        viewSql_ = "SELECT Chave FROM " + name_ + "_chaves WHERE Artigo=?1";
        viewKeys_ = SqliteViewKeys::read(db_, name_ + "_chaves");
        if (!viewKeys_) preparePerCall(viewSql_);
        chosenFor_ = lines_.dataVersion();
        return;
    }
    if (lines_.canReadLines()) {
        lineKeys_ = std::make_unique<SqliteLineKeys>();
        if (lineKeys_->read(lines_, part_)) {
            chosenFor_ = lines_.dataVersion();
            return;
        }
        lineKeys_.reset();
    }
    preparePerCall(perCallSql_);
    chosenFor_ = lines_.dataVersion();
}

void SqliteDocumentKeys::preparePerCall(const std::string& sql) {
    if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &perCall_, nullptr) !=
        SQLITE_OK) {
        throw sqliteFailure(db_);
    }
}

// The view read whole answers most calls; the rest run the view's own statement, prepared
// when first needed.
std::string SqliteDocumentKeys::keysFromView(sqlite3_value* article) {
    if (std::optional<std::string> keys = viewKeys_->keysFor(article)) return *keys;
    if (perCall_ == nullptr) preparePerCall(viewSql_);
    return keysPerCall(article);
}

// The data version is current only once a statement has read the database (the calling
// statement may read nothing of it), so the answer is checked against the version afterwards,
// and made again from a new choice when the data changed since the last one (a failure too:
// the view of an own definition may have gone).
std::string SqliteDocumentKeys::keysFor(sqlite3_value* article) {
    constexpr int kAttempts = 3;
    std::string keys;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (!chosenFor_) chooseWay();
        try {
            keys = lineKeys_   ? lineKeys_->keysFor(lines_, article)
                   : viewKeys_ ? keysFromView(article)
                               : keysPerCall(article);
        } catch (const DatabaseError&) {
            if (attempt == kAttempts || *chosenFor_ == lines_.dataVersion()) throw;
            chosenFor_.reset();
            continue;
        }
        if (*chosenFor_ == lines_.dataVersion()) break;
        chosenFor_.reset();
    }
    return keys;
}

std::string SqliteDocumentKeys::keysPerCall(sqlite3_value* article) {
    StatementResetOnExit reset{perCall_};
    sqlite3_bind_value(perCall_, 1, article);
    std::string keys;
    int rc;
    while ((rc = sqlite3_step(perCall_)) == SQLITE_ROW) {
        const auto* key = sqlite3_column_text(perCall_, 0);
        if (key == nullptr) continue;
        if (!keys.empty()) keys += ", ";
        keys.append(reinterpret_cast<const char*>(key),
                    static_cast<size_t>(sqlite3_column_bytes(perCall_, 0)));
    }
    if (rc != SQLITE_DONE) throw sqliteFailure(db_);
    return keys;
}

}  // namespace talvers
