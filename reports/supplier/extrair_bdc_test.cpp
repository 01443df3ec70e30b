#include <gtest/gtest.h>

#include "reports/supplier/orders_by_supplier.h"
#include "shell/dataaccess/text_utils.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::kCustomerOrder;
using testing::kSupplierOrder;
using testing::RecordingProgress;

const DateTime kStart{2024, 3, 1};

class ExtrairBdcTest : public ::testing::Test {
  protected:
    ExtrairBdcTest() {
        db.customer(1, "Cliente Um");
        db.article("AR1", "Artigo Um");
        db.article("AR2", "Artigo Dois");
    }

    Table run() {
        NullProgress progress;
        return ExtrairBDC(db.session(LookupMode::SetBased), {kStart}, progress);
    }

    static std::string text(const Table& t, size_t row, std::string_view field) {
        return t.at(row, field).toText();
    }

    ErpFixture db;
};

TEST_F(ExtrairBdcTest, RowSetHasTheReportColumns) {
    db.orderLine("ECL/2024/A/1/1", "2024-03-02 10:30:00", kCustomerOrder, 1, "AR1", "2");
    const Table t = run();
    const std::vector<std::pair<std::string, int>> expected = {
        {"Data", 15},        {"Doc.", 20}, {"Nome Cliente", 80},    {"Artigo", 15},
        {"Nome Artigo", 80}, {"Quant", 0}, {"Disponibilidade", 80}, {"Prazo Estimado", 80}};
    ASSERT_EQ(t.fieldCount(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(t.fields()[i].name, expected[i].first);
        EXPECT_EQ(t.fields()[i].size, expected[i].second);
        EXPECT_EQ(t.fields()[i].type,
                  expected[i].first == "Quant" ? FieldType::Money : FieldType::Text);
    }
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_EQ(text(t, 0, "Data"), " 2024-03-02");
    EXPECT_EQ(text(t, 0, "Doc."), "ECL/2024/A/1/1");
    EXPECT_EQ(text(t, 0, "Nome Cliente"), "Cliente Um");
    EXPECT_EQ(text(t, 0, "Artigo"), "AR1");
    EXPECT_EQ(text(t, 0, "Nome Artigo"), "Artigo Um");
    EXPECT_EQ(t.at(0, "Quant"), Value(Money::fromInteger(2)));
    // Stock 0 and no supplier orders: allocation leaves the copy pass's texts.
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "");
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), " ");
}

TEST_F(ExtrairBdcTest, LongTextsAreCutByCharacters) {
    std::string name;
    for (int i = 0; i < 90; ++i) name += "é";
    db.customer(2, name);
    db.orderLine("ECL/2024/A/1234567/12", "2024-03-02", kCustomerOrder, 2, "AR1", "1");
    const Table t = run();
    EXPECT_EQ(text(t, 0, "Doc."), "ECL/2024/A/1234567/1");
    EXPECT_EQ(text(t, 0, "Nome Cliente"), leftChars(name, 80));
    EXPECT_EQ(charCount(text(t, 0, "Nome Cliente")), 80u);
}

TEST_F(ExtrairBdcTest, StockAndOrdersAreAllocatedInDateOrder) {
    db.stock("AR1", "001", "2");
    db.stock("AR1", "002", "1");
    db.stock("AR1", "003", "50");  // other warehouses do not count
    db.orderLine("ECF/2024/B/7/1", "2024-03-01", kSupplierOrder, 9, "AR1", "7");
    db.orderLine("ECF/2024/B/5/1", "2024-02-28", kSupplierOrder, 9, "AR1", "100");  // too early
    db.supplierLineNote("ECF/2024/B/7/1", "abril");
    db.supplierLineNote("ECF/2024/B/5/1", "antiga");
    db.orderLine("ECL/2024/A/2/1", "2024-03-05", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/1/1", "2024-03-03", kCustomerOrder, 1, "AR1", "10");
    const Table t = run();
    ASSERT_EQ(t.rowCount(), 2u);
    // Stock 3 and supplier total 7 against a line of 10: case 3.
    EXPECT_EQ(text(t, 0, "Doc."), "ECL/2024/A/1/1");
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "3  em Stock   7  Enc.For");
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), "    abril");
    // Nothing left for the later line.
    EXPECT_EQ(text(t, 1, "Doc."), "ECL/2024/A/2/1");
    EXPECT_EQ(text(t, 1, "Disponibilidade"), "");
    EXPECT_EQ(text(t, 1, "Prazo Estimado"), " ");
}

TEST_F(ExtrairBdcTest, OneMoreOnOrderLeavesSomeOrdersOver) {
    db.stock("AR1", "001", "3");
    db.orderLine("ECF/2024/B/7/1", "2024-03-01", kSupplierOrder, 9, "AR1", "8");
    db.orderLine("ECL/2024/A/1/1", "2024-03-03", kCustomerOrder, 1, "AR1", "10");
    const Table t = run();
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "3  em Stock   7 Enc.For");
    // The supplier line has no note row: the order texts stay, the notes are empty.
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), "   ");
}

TEST_F(ExtrairBdcTest, SupplierLinesAreUsedUpAcrossTheArticlesLines) {
    db.orderLine("ECF/2024/B/7/1", "2024-03-01", kSupplierOrder, 9, "AR1", "4");
    db.orderLine("ECF/2024/B/7/2", "2024-03-01", kSupplierOrder, 9, "AR1", "20");
    db.supplierLineNote("ECF/2024/B/7/1", "A");
    db.supplierLineNote("ECF/2024/B/7/2", "B");
    db.orderLine("ECL/2024/A/1/1", "2024-03-03", kCustomerOrder, 1, "AR1", "5");
    db.orderLine("ECL/2024/A/2/1", "2024-03-04", kCustomerOrder, 1, "AR1", "5");
    const Table t = run();
    ASSERT_EQ(t.rowCount(), 2u);
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "  5 Enc.For");
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), "    A B");
    EXPECT_EQ(text(t, 1, "Disponibilidade"), "  5 Enc.For");
    EXPECT_EQ(text(t, 1, "Prazo Estimado"), "    B");
}

TEST_F(ExtrairBdcTest, LineEqualToStockIsInStockAndTheNextMeetsNone) {
    db.stock("AR1", "001", "4");
    db.orderLine("ECL/2024/A/1/1", "2024-03-03", kCustomerOrder, 1, "AR1", "4");
    db.orderLine("ECL/2024/A/2/1", "2024-03-04", kCustomerOrder, 1, "AR1", "1");
    const Table t = run();
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "Em Stock");
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), " ");
    EXPECT_EQ(text(t, 1, "Disponibilidade"), "");
}

// Notes of many supplier lines are kept whole, beyond the column's declared 80 characters.
TEST_F(ExtrairBdcTest, CollectedNotesAreNotCut) {
    const std::string note(80, 'n');
    for (int line = 1; line <= 3; ++line) {
        const std::string doc = "ECF/2024/B/7/" + std::to_string(line);
        db.orderLine(doc, "2024-03-01", kSupplierOrder, 9, "AR1", "1");
        db.supplierLineNote(doc, note + "x");  // the supplier note itself is cut to 80
    }
    db.orderLine("ECL/2024/A/1/1", "2024-03-03", kCustomerOrder, 1, "AR1", "3");
    const Table t = run();
    EXPECT_EQ(text(t, 0, "Prazo Estimado"), "    " + note + " " + note + " " + note);
}

TEST_F(ExtrairBdcTest, ArticlesAreAllocatedSeparatelyAndRowsComeInDateOrder) {
    db.stock("AR2", "001", "5");
    db.stock("O'NEIL", "002", "1");
    db.article("O'NEIL", "Com aspa");
    db.orderLine("ECL/2024/A/1/1", "2024-03-02", kCustomerOrder, 1, "AR1", "1");
    db.orderLine("ECL/2024/A/2/1", "2024-03-03", kCustomerOrder, 1, "AR2", "5");
    db.orderLine("ECL/2024/A/3/1", "2024-03-04", kCustomerOrder, 1, "O'NEIL", "1");
    db.orderLine("ECL/2024/A/4/1", "2024-03-05", kCustomerOrder, 1, "AR1", "1");
    RecordingProgress progress;
    long before = db.bd().queriesSent();
    const Table t = ExtrairBDC(db.session(LookupMode::PerRow), {kStart}, progress);
    // One customer-lines query, then stock, supplier total and supplier lines per article;
    // set-based, one statement for each of the three.
    EXPECT_EQ(db.bd().queriesSent() - before, 1 + 3 * 3);
    before = db.bd().queriesSent();
    NullProgress quiet;
    EXPECT_EQ(ExtrairBDC(db.session(LookupMode::SetBased), {kStart}, quiet).rows(), t.rows());
    EXPECT_EQ(db.bd().queriesSent() - before, 1 + 3);
    EXPECT_EQ(progress.steps,
              (std::vector<std::string>{"1/4", "2/4", "3/4", "4/4", "1/3", "2/3", "3/3"}));
    ASSERT_EQ(t.rowCount(), 4u);
    EXPECT_EQ(text(t, 0, "Disponibilidade"), "");
    EXPECT_EQ(text(t, 1, "Disponibilidade"), "Em Stock");
    EXPECT_EQ(text(t, 2, "Artigo"), "O'NEIL");
    EXPECT_EQ(text(t, 2, "Disponibilidade"), "Em Stock");
    EXPECT_EQ(text(t, 3, "Data"), " 2024-03-05");
}

TEST_F(ExtrairBdcTest, NoLinesGivesAnEmptyRowSetWithoutLookups) {
    db.orderLine("ECL/2024/A/1/1", "2024-02-29", kCustomerOrder, 1, "AR1", "1");
    RecordingProgress progress;
    const Table t = ExtrairBDC(db.session(LookupMode::SetBased), {kStart}, progress);
    EXPECT_EQ(t.rowCount(), 0u);
    EXPECT_EQ(t.fieldCount(), 8u);
    EXPECT_EQ(db.bd().queriesSent(), 1);
    EXPECT_TRUE(progress.steps.empty());
}

TEST(OrdersBySupplier, OutputFollowsTheCompanyFlag) {
    EXPECT_EQ(ordersBySupplierOutput(false).sheetName, "Enc. Pendentes_Fornecedor");
    EXPECT_EQ(ordersBySupplierOutput(false).titlePrefix, "Encomendas Cliente_Fornecedor em ");
    EXPECT_EQ(ordersBySupplierOutput(true).sheetName, "Enc. Pendentes_Fornecedor");
    EXPECT_EQ(ordersBySupplierOutput(true).titlePrefix, "Enc. Pendentes_Fornecedor em ");
}

TEST_F(ExtrairBdcTest, VariantFollowsTheCompanyFlag) {
    NullProgress progress;
    EXPECT_EQ(runOrdersBySupplier(db.session(LookupMode::SetBased, false), {kStart}, progress)
                  .fieldCount(),
              8u);
    EXPECT_EQ(runOrdersBySupplier(db.session(LookupMode::SetBased, true), {kStart}, progress)
                  .fieldCount(),
              11u);
}

}  // namespace
}  // namespace talvers
