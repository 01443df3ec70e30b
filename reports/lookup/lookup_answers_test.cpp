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
                const auto literals = keyLiterals(key, "TN");
                if (!literals) return std::nullopt;
                return "select Armazem, Existenc from ArtArm where Artigo='" + sqlQuoted(key[0]) +
                       "' and Existenc>=" + key[1] + " order by Armazem";
            },
            [](const LookupKey& key) { return keyLiterals(key, "TN"); },
            [](std::string_view rows) {
                return "select k.n, a.Armazem, a.Existenc from (values " + std::string(rows) +
                       ") as k(n, Artigo, Minimo) inner join ArtArm as a on a.Artigo = k.Artigo "
                       "and a.Existenc >= k.Minimo order by k.n, a.Armazem";
            }};
}

class LookupAnswersTest : public ::testing::Test {
  protected:
    LookupAnswersTest() {
        for (int i = 0; i < 1200; ++i) db.stock("A" + std::to_string(i), "001", "5");
        db.stock("A7", "002", "9");
        db.stock("Ab", "001", "3");
    }
    testing::ErpFixture db;
    NullProgress progress;
};

// Both ways give every key the same rows in the same order: chunks of 1000, repeated keys,
// keys the column's collation calls equal ("AB" finds "Ab"), keys without rows, and a key
// whose number part cannot be sent.
TEST_F(LookupAnswersTest, BothWaysAnswerEveryKeyAlike) {
    std::vector<LookupKey> keys;
    for (int i = 1199; i >= 0; --i) keys.push_back({"A" + std::to_string(i), "0"});
    keys.push_back({"A7", "6"});
    keys.push_back({"A7", "0"});
    keys.push_back({"Ab", "0"});
    keys.push_back({"AB", "0"});
    keys.push_back({"nenhum", "0"});
    keys.push_back({"A1", "x"});
    keys.push_back({"O'Neil", "0"});

    const long before = db.bd().queriesSent();
    const LookupAnswers set =
        fetchLookup(db.bd(), stockRows(), keys, LookupMode::SetBased, progress);
    EXPECT_EQ(db.bd().queriesSent() - before, 2);  // 1,205 distinct sendable keys
    const LookupAnswers row = fetchLookup(db.bd(), stockRows(), keys, LookupMode::PerRow, progress);
    EXPECT_EQ(db.bd().queriesSent() - before, 2 + 1205);

    for (const LookupKey& key : keys) {
        const Table& a = set.rowsOf(key);
        const Table& b = row.rowsOf(key);
        ASSERT_EQ(a.rowCount(), b.rowCount()) << key[0] << " " << key[1];
        for (size_t r = 0; r < a.rowCount(); ++r) {
            EXPECT_EQ(a.at(r, "Armazem"), b.at(r, "Armazem"));
            EXPECT_EQ(a.at(r, "Existenc"), b.at(r, "Existenc"));
        }
    }
    EXPECT_EQ(set.rowsOf({"A7", "0"}).rowCount(), 2u);
    EXPECT_EQ(set.rowsOf({"A7", "6"}).at(0, "Armazem").toText(), "002");
    EXPECT_EQ(set.rowsOf({"AB", "0"}).rowCount(), 1u);
    EXPECT_EQ(set.rowsOf({"A1", "x"}).rowCount(), 0u);
    EXPECT_EQ(set.rowsOf({"não pedido", "0"}).rowCount(), 0u);
}

TEST_F(LookupAnswersTest, CancelStopsBeforeTheNextStatementAndStrayKeysAreRefused) {
    class CancelAtOnce : public ReportProgress {
      public:
        void advance(long, long) override {}
        bool cancelRequested() const override { return true; }
    } cancel;
    const long before = db.bd().queriesSent();
    EXPECT_THROW(fetchLookup(db.bd(), stockRows(), {{"A1", "0"}}, LookupMode::SetBased, cancel),
                 ReportCancelled);
    EXPECT_EQ(db.bd().queriesSent(), before);

    KeyedLookup stray = stockRows();
    stray.setBasedSql = [](std::string_view) { return std::string("select 2 as n, 'x' as y"); };
    EXPECT_THROW(fetchLookup(db.bd(), stray, {{"A1", "0"}}, LookupMode::SetBased, progress),
                 DatabaseError);
}

}  // namespace
}  // namespace talvers
