#include <gtest/gtest.h>
#include <sqlite3.h>

#include "shell/dataaccess/tsql/tsql_rewrite.h"

// The rewritten texts run on SQLite and give what SQL Server gives for the T-SQL.
namespace talvers {
namespace {

// Rewrites and runs a one-value query on an in-memory database holding a document header.
std::string runOnSqlite(const std::string& tsql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "CREATE TABLE DOCGCCAB (TpDoc TEXT, Ano INTEGER, Serie TEXT, "
                           "NNumDoc INTEGER, Data DATETIME, Quant DECIMAL(19,4));"
                           "INSERT INTO DOCGCCAB VALUES ('ECL', 2024, 'A', 153, "
                           "'2024-05-13 10:00:00', 2.5)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string sql = rewriteTsqlForSqlite(tsql);
    sqlite3_stmt* statement = nullptr;
    std::string result = "(error)";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        result = text ? reinterpret_cast<const char*>(text) : "(null)";
    } else {
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

TEST(TsqlRewriteOnSqlite, ValuesTablesWithWindowFunctionsRun) {
    EXPECT_EQ(runOnSqlite("select q.x from (select k.x, ROW_NUMBER() OVER (PARTITION BY k.g "
                          "ORDER BY k.x DESC) as rn from (values (1, 'a'+'b', 5), (1, 'c', 7)) "
                          "as k(g, x, y)) as q where q.rn = 1"),
              "c");
}

TEST(TsqlRewriteOnSqlite, ConvertedDatesCompareWithStoredIsoTexts) {
    EXPECT_EQ(runOnSqlite("SELECT count(*) FROM DOCGCCAB WHERE Data >= CONVERT(DATETIME, "
                          "'2024-05-13 00:00', 102) AND Data <= CONVERT(DATETIME, "
                          "'2024-05-13 23:59', 102)"),
              "1");
    EXPECT_EQ(runOnSqlite("SELECT count(*) FROM DOCGCCAB WHERE Data <= CONVERT(DATETIME, "
                          "'2024-05-13 09:59', 102)"),
              "0");
}

TEST(TsqlRewriteOnSqlite, TextChainsConcatenateAndNumbersAdd) {
    // SQLite's + would give 0 for these; after the rewrite they concatenate.
    EXPECT_EQ(runOnSqlite("SELECT 'a'+'b'"), "ab");
    EXPECT_EQ(runOnSqlite("SELECT c.TpDoc+'/'+CAST( c.Ano as nvarchar(4))+'/'+c.Serie+'/'+"
                          "CAST(c.NNumDoc as nvarchar(10)) FROM DOCGCCAB as c"),
              "ECL/2024/A/153");
    EXPECT_EQ(runOnSqlite("SELECT Quant + 1 FROM DOCGCCAB"), "3.5");
}

// A JSON key table run: the parts come out as sent, typed as cast.
TEST(TsqlRewrite, JsonKeyTablesRunOnSqlite) {
    const std::string keys =
        "(select CAST(j.[key] AS int) as n, CAST(JSON_VALUE(j.value, '$[0]') AS varchar(8000)) "
        "as Artigo, CAST(JSON_VALUE(j.value, '$[1]') AS bigint) as Ano from "
        "OPENJSON('[[\"O''Neil\",\"007\"],[\"x\\\"y\",\"-3\"]]') as j) as k";
    EXPECT_EQ(runOnSqlite("select k.Artigo+'|'+CAST(k.Ano + k.n as nvarchar(9)) from " + keys +
                          " order by k.n desc"),
              "x\"y|-2");
    EXPECT_EQ(runOnSqlite("select k.Artigo from " + keys + " where k.Ano = 7"), "O'Neil");
}

}  // namespace
}  // namespace talvers
