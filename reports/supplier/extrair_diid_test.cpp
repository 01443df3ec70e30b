#include <gtest/gtest.h>

#include "reports/lookup/lookup_answers.h"
#include "reports/supplier/orders_by_supplier.h"
#include "reports/supplier/supplier_order_note.h"
#include "reports/supplier/supplier_sql.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::kCustomerOrder;
using testing::kSupplierOrder;
using testing::RecordingProgress;

const DateTime kStart{2024, 1, 1};

class ExtrairDiidTest : public ::testing::Test {
  protected:
    ExtrairDiidTest() {
        db.customer(1, "Cliente Um");
        db.article("AR1", "Artigo Um", 5);
        db.article("AR2", "Artigo Dois");  // no days figure
    }

    Table run(LookupMode mode = LookupMode::SetBased) {
        NullProgress progress;
        return ExtrairDIID(db.session(mode, true), {kStart}, progress);
    }

    static std::string text(const Table& t, size_t row, std::string_view field) {
        return t.at(row, field).toText();
    }

    ErpFixture db;
};

TEST_F(ExtrairDiidTest, RowCarriesSupplierCustomerAndEstimate) {
    db.purchase("AR1", "F1", "Fornecedor\nde Lisboa", "2023-05-01");
    db.orderLine("ECF/2024/B/7/1", "2024-01-02", kSupplierOrder, 9, "AR1", "3");
    db.orderLine("ECL/2024/A/153/2", "2024-01-30 18:45:00", kCustomerOrder, 1, "AR1", "2.5");
    db.exported("ECL/2024/A/153", "ECL/2024/L/9", 55, "Cliente Lisboa");
    const Table t = run();

    const std::vector<std::pair<std::string, int>> expected = {{"Data", 15},
                                                               {"Doc.", 20},
                                                               {"Nome Cliente", 80},
                                                               {"Nome Cliente Lx", 80},
                                                               {"Nome Fornecedor", 80},
                                                               {"Enc.Forn.", 3},
                                                               {"Artigo", 15},
                                                               {"Nome Artigo", 80},
                                                               {"Quant.", 0},
                                                               {"Data Estimada", 20},
                                                               {"Notas", 80}};
    ASSERT_EQ(t.fieldCount(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(t.fields()[i].name, expected[i].first);
        EXPECT_EQ(t.fields()[i].size, expected[i].second);
    }
    EXPECT_EQ(t.fields()[8].type, FieldType::Money);

    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_EQ(text(t, 0, "Data"), " 2024-01-30");
    EXPECT_EQ(text(t, 0, "Doc."), "ECL/2024/A/153/2");
    EXPECT_EQ(text(t, 0, "Nome Cliente"), "Cliente Um");
    EXPECT_EQ(text(t, 0, "Nome Cliente Lx"), "Cliente Lisboa");
    EXPECT_EQ(text(t, 0, "Nome Fornecedor"), "Fornecedor de Lisboa");
    EXPECT_EQ(text(t, 0, "Artigo"), "AR1");
    EXPECT_EQ(text(t, 0, "Nome Artigo"), "Artigo Um");
    EXPECT_EQ(t.at(0, "Quant."), Value(Money::fromTicks(25000)));
    // The time of day is ignored: 30 January + 5 days.
    EXPECT_EQ(text(t, 0, "Data Estimada"), "2024-02-04");
    // Open supplier orders listed with four-part keys: "Sim" and no note.
    EXPECT_EQ(text(t, 0, "Enc.Forn."), "Sim");
    EXPECT_EQ(text(t, 0, "Notas"), "");
}

TEST_F(ExtrairDiidTest, MissingLookupsGiveOneBlank) {
    db.orderLine("ECL/2024/A/1/1", "2024-02-01", kCustomerOrder, 1, "AR2", "1");
    const Table t = run();
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_EQ(text(t, 0, "Nome Fornecedor"), " ");  // never bought
    EXPECT_EQ(text(t, 0, "Nome Cliente Lx"), " ");  // not exported
    EXPECT_EQ(text(t, 0, "Enc.Forn."), "Não");
    EXPECT_EQ(text(t, 0, "Notas"), " ");
    EXPECT_EQ(text(t, 0, "Data Estimada"), "");  // no days figure
}

TEST_F(ExtrairDiidTest, LongSupplierNameIsCutThenFlattened) {
    std::string name = "Linha\n";
    name += std::string(100, 'x');
    db.purchase("AR1", "F1", name, "2023-05-01");
    db.orderLine("ECL/2024/A/1/1", "2024-02-01", kCustomerOrder, 1, "AR1", "1");
    const Table t = run();
    EXPECT_EQ(text(t, 0, "Nome Fornecedor"), "Linha " + std::string(74, 'x'));
}

TEST_F(ExtrairDiidTest, SupplierOrderTextIsQueriedOncePerArticle) {
    db.orderLine("ECF/2024/B/7/1", "2024-01-02", kSupplierOrder, 9, "AR1", "3");
    db.orderLine("ECL/2024/A/1/1", "2024-02-01", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/2/1", "2024-02-02", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/3/1", "2024-02-03", kCustomerOrder, 1, "AR2", "1");
    RecordingProgress progress;
    const Table t = ExtrairDIID(db.session(LookupMode::PerRow, true), {kStart}, progress);
    ASSERT_EQ(t.rowCount(), 3u);
    // Customer lines, then per article the last supplier and the function; per document the
    // end customer. The keys name no line, so no note is looked up.
    EXPECT_EQ(db.bd().queriesSent(), 1 + 2 + 2);
    EXPECT_EQ(db.bdExt().queriesSent(), 3);
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(run(LookupMode::SetBased).rows(), t.rows());
    EXPECT_EQ(db.bd().queriesSent(), 5 + 1 + 2);
    EXPECT_EQ(text(t, 0, "Enc.Forn."), "Sim");
    EXPECT_EQ(text(t, 1, "Enc.Forn."), "Sim");
    EXPECT_EQ(text(t, 2, "Enc.Forn."), "Não");
}

// A database whose own qor_LinhaParaString lists line-level keys (five parts).
TEST_F(ExtrairDiidTest, LineLevelKeysFillTheNoteOfEveryLineOfTheArticle) {
    db.execMain(
        "INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha, OBS) VALUES "
        "('ECF', 2024, 'B', 7, 2, '  chega em abril  ');"
        "CREATE VIEW qor_LinhaParaString_chaves AS SELECT 'AR1' AS Artigo, "
        "'ECF/2024/B/7/2' AS Chave UNION ALL SELECT 'AR1', 'ECF/2024/B/8/1' "
        "UNION ALL SELECT 'AR2', ' ECF/2024/B/9/9';");
    db.orderLine("ECL/2024/A/1/1", "2024-02-01", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/2/1", "2024-02-02", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/3/1", "2024-02-03", kCustomerOrder, 1, "AR2", "1");
    for (const LookupMode mode : {LookupMode::SetBased, LookupMode::PerRow}) {
        const Table t = run(mode);
        ASSERT_EQ(t.rowCount(), 3u);
        for (size_t row = 0; row < 3; ++row) EXPECT_EQ(text(t, row, "Enc.Forn."), "Sim");
        EXPECT_EQ(text(t, 0, "Notas"), "chega em abril");
        EXPECT_EQ(text(t, 1, "Notas"), "chega em abril");
        EXPECT_EQ(text(t, 2, "Notas"), "");  // a line key without a note row
    }
}

class SupplierOrderNoteTest : public ::testing::Test {
  protected:
    SupplierOrderNoteTest() {
        db.execMain(
            "INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha, OBS) "
            "VALUES ('ECF', 2024, 'B', 7, 2, '  chega em abril  '), "
            "('ECF', 2024, 'B''X', 8, 1, '" +
            std::string(85, 'o') + "');");
    }
    std::string note(std::string_view text, LookupMode mode) {
        const auto key = supplierOrderNoteKey(text);
        if (!key) return "(sem chave)";
        NullProgress progress;
        return supplierOrderNote(
            fetchLookup(db.bd(), supplierOrderNoteLookup(), {*key}, mode, progress).rowsOf(*key));
    }
    ErpFixture db;
};

TEST_F(SupplierOrderNoteTest, OnlyAFirstFivePartKeyNamesTheNoteLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ECF/2024/B/7/2, ECF/2024/B/9/9", "chega em abril"},
        {" ECF/2024/B/7/2", "chega em abril"},
        {"ECF/2024/B'X/8/1", std::string(80, 'o')},
        {"ECF/2024/B/9/9, ECF/2024/B/7/2", ""},  // no note row
        {"ECF/2024/B/7/x", ""},                  // not a whole number: nothing sent
        {"ECF/2024/B/7", "(sem chave)"},
        {"ECF/2024/B/7/2/1", "(sem chave)"},
        {"ECF/2024/B/7, ECF/2024/B/7/2", "(sem chave)"},
    };
    for (const LookupMode mode : {LookupMode::SetBased, LookupMode::PerRow}) {
        for (const auto& [text, expected] : cases) EXPECT_EQ(note(text, mode), expected) << text;
    }
}

}  // namespace
}  // namespace talvers
