#include <gtest/gtest.h>

#include "reports/supplier/orders_by_supplier.h"
#include "reports/supplier/supplier_order_note.h"
#include "tests/erp_fixture.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::kCustomerOrder;
using testing::kSupplierOrder;
using testing::RecordingProgress;

const DateTime kStart{2024, 1, 1};

// A database whose qor_LinhaParaString lists line-level keys (five parts), as a function of
// that name already present in an ERP database would: every other statement goes through.
class LineKeyConnection : public Connection {
  public:
    LineKeyConnection(Connection& inner, std::string keys)
        : inner_(inner), keys_(std::move(keys)) {}

  protected:
    Table runQuery(const std::string& sql) override {
        if (sql.rfind(" select dbo.qor_LinhaParaString (", 0) != 0) return inner_.query(sql);
        Table result({{"EncForn", FieldType::Text, 4000}});
        result.addRow({keys_});
        return result;
    }
    void runExecute(const std::string& sql) override { inner_.execute(sql); }

  private:
    Connection& inner_;
    std::string keys_;
};

class ExtrairDiidTest : public ::testing::Test {
  protected:
    ExtrairDiidTest() {
        db.customer(1, "Cliente Um");
        db.article("AR1", "Artigo Um", 5);
        db.article("AR2", "Artigo Dois");  // no days figure
    }

    Table run() { return run(db.bd()); }
    Table run(Connection& bd) {
        NullProgress progress;
        return ExtrairDIID(bd, db.bdExt(), kStart, progress);
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
    const Table t = ExtrairDIID(db.bd(), db.bdExt(), kStart, progress);
    ASSERT_EQ(t.rowCount(), 3u);
    // Customer lines, then per line the last supplier, and the function once per article.
    EXPECT_EQ(db.bd().queriesSent(), 1 + 3 + 2);
    EXPECT_EQ(db.bdExt().queriesSent(), 3);
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(text(t, 0, "Enc.Forn."), "Sim");
    EXPECT_EQ(text(t, 1, "Enc.Forn."), "Sim");
    EXPECT_EQ(text(t, 2, "Enc.Forn."), "Não");
}

TEST_F(ExtrairDiidTest, LineLevelKeysFillTheNoteOfEveryLineOfTheArticle) {
    db.execMain(
        "INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha, OBS) VALUES "
        "('ECF', 2024, 'B', 7, 2, '  chega em abril  ');");
    db.orderLine("ECL/2024/A/1/1", "2024-02-01", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/2/1", "2024-02-02", kCustomerOrder, 1, "AR1", "1");
    LineKeyConnection bd(db.bd(), "ECF/2024/B/7/2, ECF/2024/B/8/1");
    const Table t = run(bd);
    ASSERT_EQ(t.rowCount(), 2u);
    for (size_t row = 0; row < 2; ++row) {
        EXPECT_EQ(text(t, row, "Enc.Forn."), "Sim");
        EXPECT_EQ(text(t, row, "Notas"), "chega em abril");
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
    ErpFixture db;
};

TEST_F(SupplierOrderNoteTest, FirstFivePartKeyNamesTheNoteLine) {
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/7/2, ECF/2024/B/9/9"), "chega em abril");
    EXPECT_EQ(supplierOrderNote(db.bd(), " ECF/2024/B/7/2"), "chega em abril");
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B'X/8/1"), std::string(80, 'o'));
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/9/9, ECF/2024/B/7/2"), "");  // no note row
    EXPECT_EQ(db.bd().queriesSent(), 4);
}

TEST_F(SupplierOrderNoteTest, OtherKeyFormsSendNoQuery) {
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/7"), "");
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/7/2/1"), "");
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/7/x"), "");
    EXPECT_EQ(supplierOrderNote(db.bd(), "ECF/2024/B/7, ECF/2024/B/7/2"), "");
    EXPECT_EQ(db.bd().queriesSent(), 0);
}

}  // namespace
}  // namespace talvers
