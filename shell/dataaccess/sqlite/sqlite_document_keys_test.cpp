// The native document-key functions answer from a map of the selected lines' keys: the map
// must give what the function's own statement gives (in line storage order), follow every
// change of the data, and step aside for a database's own definition or a table without rowid.
#include "shell/dataaccess/sqlite/sqlite_document_keys.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "sample/erp_schema.h"
#include "shell/dataaccess/document_key_functions.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

constexpr const char* kHeaders = R"sql(
INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, nvias, AreaG, TpTerc, TpfStc, NatConta) VALUES
 ('ENF', 2024, 'A', 1, 0, 2, 1, 0, 0), ('ENF', 2024, 'A', 2, -1, 2, 1, 0, 0),
 ('ENF', 2025, 'B', 4, 0, 2, 1, 0, 0), ('ENF', 2025, NULL, 5, 0, 2, 1, 0, 0),
 ('GRF', 2024, 'G', 10, 0, 4, 1, 1, 2);
)sql";

// Lines of articles that differ by letter case, a trailing blank, letters outside ASCII and
// a number, stored out of document order.
constexpr const char* kLines = R"sql(
INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, [convert]) VALUES
 ('ENF', 2025, 'B', 4, 1, 'A1', 2, 0), ('ENF', 2024, 'A', 1, 1, 'a1', 5, 0),
 ('ENF', 2024, 'A', 1, 2, 'A1 ', 1, 0), ('ENF', 2024, 'A', 2, 1, 'A1', 1, 0),
 ('ENF', 2024, 'A', 1, 3, 'Ção', 1, 0),
 ('ENF', 2025, 'B', 4, 2, 'ção', 1, 0), ('ENF', 2024, 'A', 1, 4, '12', 1, 0),
 ('GRF', 2024, 'G', 10, 1, 'A1', 3, 0), ('ENF', 2024, 'A', 1, 5, 'A1', 4, 0);
)sql";

// A line whose document key has a missing part (no series).
constexpr const char* kLineWithoutSeries =
    "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, [convert]) "
    "VALUES ('ENF', 2025, NULL, 5, 1, 'A1', 1, 0);";

class DocumentKeysTest : public ::testing::Test {
  protected:
    void make(const std::string& schema, const char* more = kLineWithoutSeries) {
        exec(schema + kHeaders + kLines + more);
        db_ = SqliteConnection::open(dir_ / "erp.db");
    }
    // Writes through a connection of its own, as another program would.
    void exec(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((dir_ / "erp.db").string().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    std::string keys(const std::string& argument, const char* function = "qor_LinhaParaString") {
        return db_->query(std::string("select dbo.") + function + " (" + argument + " ) as K")
            .at(0, 0)
            .toText();
    }
    // The function's own statement for one argument, its lines in storage order.
    std::string expected(const std::string& argument, const char* order = " order by l.rowid",
                         const char* filter = document_key_functions::kSupplierOrderFilter) {
        namespace k = document_key_functions;
        const Table rows = db_->query(std::string(" SELECT ") + k::kKey + " as K" + k::kFrom +
                                      k::kJoin + k::kJoinCondition + k::kJoinYear + filter +
                                      " and l.artigo=" + argument + order);
        std::string text;
        for (size_t r = 0; r < rows.rowCount(); ++r) {
            if (rows.at(r, 0).isNull()) continue;
            text += (text.empty() ? "" : ", ") + rows.at(r, 0).toText();
        }
        return text;
    }
    void expectAsTheStatement() {
        for (const char* argument :
             {"'A1'", "'a1'", "'A1 '", "'Ção'", "'ção'", "12", "'12'", "''", "NULL", "'ZZ'"}) {
            EXPECT_EQ(keys(argument), expected(argument)) << argument;
        }
    }

    testing::TempDir dir_;
    std::unique_ptr<SqliteConnection> db_;
};

TEST_F(DocumentKeysTest, TheMapAnswersAsTheFunctionsStatementInStorageOrder) {
    make(erpMainSchemaSql());
    expectAsTheStatement();
    EXPECT_EQ(keys("'A1'"), "ENF/2025/B/4, ENF/2024/A/1, ENF/2024/A/1");
}

TEST_F(DocumentKeysTest, TheMapFollowsChangesByThisConnectionAndByOthers) {
    make(erpMainSchemaSql());
    EXPECT_EQ(keys("'B7'"), "");
    exec(
        "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, [convert])"
        " VALUES ('ENF', 2024, 'A', 1, 9, 'B7', 1, 0)");
    EXPECT_EQ(keys("'B7'"), "ENF/2024/A/1");
    db_->execute("UPDATE DOCGCCAB SET nvias = -1 WHERE NNumDoc = 1");
    EXPECT_EQ(keys("'B7'"), "");
    expectAsTheStatement();
}

TEST_F(DocumentKeysTest, AnOwnDefinitionTakesOverWhenItAppearsAndLeavesWhenItGoes) {
    make(erpMainSchemaSql());
    EXPECT_EQ(keys("'A1'"), "ENF/2025/B/4, ENF/2024/A/1, ENF/2024/A/1");
    exec("CREATE VIEW qor_LinhaParaString_chaves AS SELECT 'A1' AS Artigo, 'PROPRIA/1' AS Chave");
    EXPECT_EQ(keys("'A1'"), "PROPRIA/1");
    EXPECT_EQ(keys("'a1'"), "");  // the view's own comparison
    exec("DROP VIEW qor_LinhaParaString_chaves");
    EXPECT_EQ(keys("'a1'"), "ENF/2025/B/4, ENF/2024/A/1, ENF/2024/A/1");
}

// An own definition is read whole once: every answer must still be what the view's own
// statement gives for that argument, whatever the view's comparison (each built-in collation,
// an expression without one) and whatever its Artigo holds (texts differing by letter case or
// trailing blanks, a number, NULL).
TEST_F(DocumentKeysTest, AnOwnDefinitionReadWholeAnswersAsItsOwnStatement) {
    make(erpMainSchemaSql());
    exec(
        "CREATE TABLE Propria (Artigo TEXT, Chave TEXT); INSERT INTO Propria VALUES "
        "('A1', 'P/1'), ('a1', 'P/2'), ('A1 ', 'P/3'), ('B2', 'P/4'), ('B2', NULL), "
        "('B2', 'P/5'), (NULL, 'P/6'), ('c3 ', 'P/7'), ('', 'P/8'), ('Ção', 'P/9');");
    const char* arguments[] = {"'A1'", "'a1'", "'A1 '", "'B2'",  "'b2'", "'c3'", "'C3 '",
                               "''",   "' '",  "'Ção'", "'ção'", "12",   "NULL", "'ZZ'"};
    for (const std::string source :
         {"Artigo", "Artigo COLLATE NOCASE", "Artigo COLLATE RTRIM", "Artigo || ''",
          "CASE WHEN Artigo = 'B2' THEN 12 ELSE Artigo END"}) {
        exec(
            "DROP VIEW IF EXISTS qor_LinhaParaString_chaves; CREATE VIEW "
            "qor_LinhaParaString_chaves AS SELECT " +
            source + " AS Artigo, Chave FROM Propria");
        for (const char* argument : arguments) {
            const Table rows = db_->query(
                std::string("SELECT Chave FROM qor_LinhaParaString_chaves WHERE Artigo=") +
                argument);
            std::string text;
            for (size_t r = 0; r < rows.rowCount(); ++r) {
                if (rows.at(r, 0).isNull()) continue;
                text += (text.empty() ? "" : ", ") + rows.at(r, 0).toText();
            }
            EXPECT_EQ(keys(argument), text) << source << " " << argument;
        }
    }
}

// Both functions share one statement for the views, their maps and the article's lines: an
// own definition of one must leave the other answering from its map, in the same statement.
TEST_F(DocumentKeysTest, AnOwnDefinitionOfOneFunctionLeavesTheOtherOnItsMap) {
    make(erpMainSchemaSql());
    exec("CREATE VIEW qor_LinhaParaString_chaves AS SELECT 'A1' AS Artigo, 'PROPRIA/1' AS Chave");
    const Table both = db_->query(
        "select dbo.qor_LinhaParaString ('A1') as K, dbo.qor_LinhaParaStringGuia ('a1') as G");
    EXPECT_EQ(both.at(0, 0).toText(), "PROPRIA/1");
    EXPECT_EQ(both.at(0, 1).toText(), "GRF/2024/G/10");
    for (const char* argument : {"'A1'", "'a1'", "'ção'", "12", "NULL", "'ZZ'"}) {
        EXPECT_EQ(
            keys(argument, "qor_LinhaParaStringGuia"),
            expected(argument, " order by l.rowid", document_key_functions::kDeliveryNoteFilter))
            << argument;
    }
}

TEST_F(DocumentKeysTest, LinesWithoutRowidAreAskedPerCall) {
    std::string schema = erpMainSchemaSql();
    const std::string lines = "PRIMARY KEY (TpDocum, Ano, Serie, NNumDoc, NumLinha))";
    schema.replace(schema.find(lines), lines.size(), lines + " WITHOUT ROWID");
    make(schema, "");  // its key columns cannot be NULL
    // Without rowid there is no storage order to follow: the same keys in the plan's order.
    for (const char* argument : {"'A1'", "'ção'", "12", "NULL"}) {
        EXPECT_EQ(keys(argument).size(), expected(argument, "").size()) << argument;
    }
    EXPECT_NE(keys("'A1'").find("ENF/2025/B/4"), std::string::npos);
}

}  // namespace
}  // namespace talvers
