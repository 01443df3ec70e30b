#include "reports/lookup/lookup_answers.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sql_literal.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

// An article's stock rows, keyed by article and a bare number (the smallest quantity shown).
KeyedLookup stockRows() {
    return {[](const LookupKey& key) -> std::optional<std::string> {
                if (!sendableParts(key, "TN")) return std::nullopt;
                return "select Armazem, Existenc from ArtArm where Artigo='" + sqlQuoted(key[0]) +
                       "' and Existenc>=" + key[1] + " order by Armazem";
            },
            {"Artigo", "Minimo"},
            "TN",
            {},
            [](std::string_view keys) {
                return "select k.n, a.Armazem, a.Existenc from " + std::string(keys) +
                       " inner join ArtArm as a on a.Artigo = k.Artigo "
                       "and a.Existenc >= k.Minimo order by k.n, a.Armazem";
            }};
}

// Texts the key tables must carry untouched: quotes, JSON's own specials, control
// characters, letters outside ASCII (which the column's NOCASE does not fold) and blanks.
const std::vector<std::string> kAwkwardArticles = {
    "O'Neil", "X\"Q\\1", "x\"q\\1", "Tab\tA", "Linha\nB", "Ção1", "ção1", "LUB 7 ", "''\\\""};

class LookupAnswersTest : public ::testing::Test {
  protected:
    LookupAnswersTest() {
        std::string sql = "BEGIN;";
        for (int i = 0; i < 1200; ++i) {
            sql += "INSERT INTO ArtArm (Artigo, Armazem, Existenc) VALUES ('A" + std::to_string(i) +
                   "', '001', 5);";
        }
        db.execMain(sql + "COMMIT;");
        db.stock("A7", "002", "9");
        db.stock("Ab", "001", "3");
        // A warehouse each: the stock key's collation calls some of these articles equal.
        for (size_t i = 0; i < kAwkwardArticles.size(); ++i) {
            db.stock(kAwkwardArticles[i], "1" + std::to_string(i), "4");
        }
    }

    std::vector<LookupKey> keys() const {
        std::vector<LookupKey> keys;
        for (int i = 1199; i >= 0; --i) keys.push_back({"A" + std::to_string(i), "0"});
        for (const LookupKey& key : std::vector<LookupKey>{{"A7", "6"},
                                                           {"A7", "0"},
                                                           {"A7", " 007"},
                                                           {"Ab", "0"},
                                                           {"AB", "0"},
                                                           {"nenhum", "0"},
                                                           {"A1", "x"},
                                                           {"A1", "1234567890123456789"},
                                                           {"A1", "-0"},
                                                           {"A1", "0"}}) {
            keys.push_back(key);
        }
        for (const std::string& article : kAwkwardArticles) keys.push_back({article, "1"});
        return keys;
    }

    testing::ErpFixture db;
    NullProgress progress;
};

// The three ways give every key the same rows in the same order: repeated keys, keys the
// column's collation calls equal ("AB" finds "Ab"), keys without rows, number parts with
// blanks and leading zeros, keys that cannot be sent, and awkward texts. The JSON way sends one
// statement for any number of keys, the chunked way one per 1,000 keys.
TEST_F(LookupAnswersTest, TheThreeWaysAnswerEveryKeyAlike) {
    const std::vector<LookupKey> all = keys();
    const long sendable = 1200 + 6 + static_cast<long>(kAwkwardArticles.size());
    long before = db.bd().queriesSent();
    const LookupAnswers json =
        fetchLookup(db.bd(), stockRows(), all, LookupMode::SetBased, progress);
    EXPECT_EQ(db.bd().queriesSent() - before, 1);
    before = db.bd().queriesSent();
    const LookupAnswers chunked =
        fetchLookup(db.bd(), stockRows(), all, LookupMode::Chunked, progress);
    EXPECT_EQ(db.bd().queriesSent() - before, 2);
    before = db.bd().queriesSent();
    const LookupAnswers row = fetchLookup(db.bd(), stockRows(), all, LookupMode::PerRow, progress);
    EXPECT_EQ(db.bd().queriesSent() - before, sendable);

    for (size_t position = 0; position < all.size(); ++position) {
        const LookupKey& key = all[position];
        const Table& expected = row.rowsOf(key);
        for (const LookupAnswers* answers : {&json, &chunked, &row}) {
            // By position, the same table as by key.
            EXPECT_EQ(&answers->rowsAt(position), &answers->rowsOf(key)) << key[0];
        }
        for (const LookupAnswers* set : {&json, &chunked}) {
            const Table& a = set->rowsOf(key);
            ASSERT_EQ(a.rowCount(), expected.rowCount()) << key[0] << " " << key[1];
            for (size_t r = 0; r < a.rowCount(); ++r) {
                EXPECT_EQ(a.at(r, "Armazem"), expected.at(r, "Armazem")) << key[0];
                EXPECT_EQ(a.at(r, "Existenc"), expected.at(r, "Existenc")) << key[0];
            }
        }
    }
    EXPECT_EQ(json.rowsOf({"A7", "0"}).rowCount(), 2u);
    EXPECT_EQ(json.rowsOf({"A7", " 007"}).at(0, "Armazem").toText(), "002");
    EXPECT_EQ(json.rowsOf({"AB", "0"}).rowCount(), 1u);
    EXPECT_EQ(json.rowsOf({"A1", "x"}).rowCount(), 0u);
    EXPECT_EQ(json.rowsOf({"não pedido", "0"}).rowCount(), 0u);
    EXPECT_EQ(json.rowsOf({"X\"Q\\1", "1"}).rowCount(), 2u);  // both letter cases
    EXPECT_EQ(json.rowsOf({"Ção1", "1"}).rowCount(), 1u);
    EXPECT_EQ(json.rowsOf({"Tab\tA", "1"}).rowCount(), 1u);
}

// A server that answers the JSON key table as SQL Server below compatibility level 130 does.
class RefusingJson : public Connection {
  public:
    RefusingJson(Connection& inner, long error) : inner_(inner), error_(error) {}
    long refusals = 0;

  protected:
    Table runQuery(const std::string& sql) override {
        if (sql.find("OPENJSON") != std::string::npos) {
            ++refusals;
            throw DatabaseError(error_, "Invalid object name 'OPENJSON'.");
        }
        return inner_.query(sql);
    }
    void runExecute(const std::string& sql) override { inner_.execute(sql); }

  private:
    Connection& inner_;
    long error_;
};

TEST_F(LookupAnswersTest, AServerRefusingJsonIsSentChunksFromThenOn) {
    for (const long refusal : {208L, 195L, 468L}) {
        RefusingJson server(db.bd(), refusal);
        const std::vector<LookupKey> all = keys();
        const LookupAnswers first =
            fetchLookup(server, stockRows(), all, LookupMode::SetBased, progress);
        EXPECT_EQ(server.queriesSent(), 1 + 2);
        EXPECT_TRUE(server.refuses(kJsonKeyTableForm));
        const LookupAnswers second =
            fetchLookup(server, stockRows(), all, LookupMode::SetBased, progress);
        EXPECT_EQ(server.queriesSent(), 3 + 2);
        EXPECT_EQ(server.refusals, 1);
        EXPECT_EQ(first.rowsOf({"A7", "0"}).rowCount(), 2u);
        EXPECT_EQ(second.rowsOf({"O'Neil", "1"}).rowCount(), 1u);
    }
}

TEST_F(LookupAnswersTest, OtherFailuresAndFailingChunksAreReportedAndNotRemembered) {
    RefusingJson other(db.bd(), 102);  // a syntax error is no refusal of the form
    EXPECT_THROW(fetchLookup(other, stockRows(), keys(), LookupMode::SetBased, progress),
                 DatabaseError);
    EXPECT_EQ(other.queriesSent(), 1);
    EXPECT_FALSE(other.refuses(kJsonKeyTableForm));

    // The chunked form fails too (a missing table): its own failure is reported.
    RefusingJson missing(db.bd(), 208);
    KeyedLookup noTable = stockRows();
    noTable.setBasedSql = [](std::string_view keys) {
        return "select k.n from " + std::string(keys) + " inner join Nada as x on x.a = k.Artigo";
    };
    try {
        fetchLookup(missing, noTable, keys(), LookupMode::SetBased, progress);
        ADD_FAILURE() << "no error";
    } catch (const DatabaseError& error) {
        EXPECT_NE(error.description().find("Nada"), std::string::npos) << error.description();
    }
    EXPECT_FALSE(missing.refuses(kJsonKeyTableForm));
}

TEST_F(LookupAnswersTest, CancelStopsBeforeTheNextStatementAndStrayKeysAreRefused) {
    class CancelAtOnce : public ReportProgress {
      public:
        void advance(long, long) override {}
        bool cancelRequested() const override { return true; }
    } cancel;
    const long before = db.bd().queriesSent();
    for (const LookupMode mode : {LookupMode::SetBased, LookupMode::Chunked, LookupMode::PerRow}) {
        EXPECT_THROW(fetchLookup(db.bd(), stockRows(), {{"A1", "0"}}, mode, cancel),
                     ReportCancelled);
    }
    EXPECT_EQ(db.bd().queriesSent(), before);

    KeyedLookup stray = stockRows();
    for (const char* n : {"1", "-1", "'x'"}) {
        stray.setBasedSql = [n](std::string_view) { return "select " + std::string(n) + " as n"; };
        for (const LookupMode mode : {LookupMode::SetBased, LookupMode::Chunked}) {
            EXPECT_THROW(fetchLookup(db.bd(), stray, {{"A1", "0"}}, mode, progress), DatabaseError)
                << n;
        }
    }
}

}  // namespace
}  // namespace talvers
