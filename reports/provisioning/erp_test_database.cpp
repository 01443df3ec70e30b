#include "reports/provisioning/erp_test_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "sample/erp_schema.h"

namespace talvers::testing {

ErpTestDatabase::ErpTestDatabase() : file_(dir_ / "erp.db") {
    sqlite3_open(file_.string().c_str(), &db_);
    // Nothing here needs to survive a crash; without syncing, the fixtures build many times faster.
    exec("PRAGMA synchronous = OFF;");
    exec(erpMainSchemaSql());
}

ErpTestDatabase::~ErpTestDatabase() {
    sqlite3_close(db_);
}

void ErpTestDatabase::exec(const std::string& sql) const {
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    ASSERT_EQ(rc, SQLITE_OK) << message << "\n" << sql;
}

std::unique_ptr<SqliteConnection> ErpTestDatabase::open() const {
    return SqliteConnection::open(file_);
}

}  // namespace talvers::testing
