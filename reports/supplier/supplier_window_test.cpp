#include "reports/supplier/supplier_window.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QTest>

#include <filesystem>

#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

using namespace talvers::testing;

class SupplierWindowTest : public ::testing::Test {
  protected:
    SupplierWindowTest() {
        db.customer(1, "Cliente Um");
        db.article("AR1", "Artigo Um");
    }
    // Runs the window of `variant` to a workbook and returns its title cell.
    std::string titleOfRun(bool variant) {
        frmTalversForn window(db.session(LookupMode::SetBased, variant), desktop.services());
        const auto file = out.path() / (variant ? "diid.xlsx" : "bdc.xlsx");
        desktop.files.answer = file.string();
        EXPECT_TRUE(confirmAndWait(window));
        EXPECT_TRUE(desktop.messages.shown.empty());
        EXPECT_EQ(desktop.opener.opened.back(), file.string());
        const XlsxDump dump = dumpWorkbook(file);
        EXPECT_EQ(dump.sheetNames(), std::vector<std::string>{"Enc. Pendentes_Fornecedor"});
        return dump.cell("Enc. Pendentes_Fornecedor", "A1").value;
    }

    ErpFixture db;
    ScriptedDesktop desktop;
    TempDir out;
};

TEST_F(SupplierWindowTest, ControlsCaptionsAndStartDate) {
    frmTalversForn window(db.session(LookupMode::SetBased), desktop.services());
    EXPECT_EQ(window.windowTitle(), "Talvers/Fornecedor");
    EXPECT_EQ(control<QLabel>(window, "Label2_0")->text(), "&Data");
    auto* picker = control<QDateEdit>(window, "DTPicker1");
    EXPECT_EQ(picker->text(), "28-02-2023");
    EXPECT_EQ(picker->toolTip(), "Data a partir da qual se processa a extração.");
    EXPECT_FALSE(control<QLabel>(window, "Label2_1")->isVisibleTo(&window));
}

TEST_F(SupplierWindowTest, NoOpenLinesShowsTheNoDataMessage) {
    frmTalversForn window(db.session(LookupMode::SetBased), desktop.services());
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(texts(desktop.messages), std::vector<std::string>{std::string(kNoDataMessage)});
    EXPECT_TRUE(desktop.files.filters.empty());
}

TEST_F(SupplierWindowTest, EachVariantRunsItsExtractionFromThePickedDate) {
    db.orderLine("ECL/2024/A/1/1", "2023-03-01 00:00:00", kCustomerOrder, 1, "AR1", "2");
    // Before the start date: left out.
    db.orderLine("ECL/2023/A/9/1", "2023-02-27 00:00:00", kCustomerOrder, 1, "AR1", "1");
    EXPECT_EQ(titleOfRun(false), "Encomendas Cliente_Fornecedor em 29-02-2024");
    EXPECT_EQ(titleOfRun(true), "Enc. Pendentes_Fornecedor em 29-02-2024");
    EXPECT_EQ(dumpWorkbook(out.path() / "bdc.xlsx").maxRow("Enc. Pendentes_Fornecedor"), 4);
}

}  // namespace
}  // namespace talvers
