#include "utility/utility_window.h"

#include <gtest/gtest.h>

#include <QLayout>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>

#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

using namespace talvers::testing;

class UtilityWindowTest : public ::testing::Test {
  protected:
    UtilityWindowTest() : window(db.session(LookupMode::SetBased), desktop.services()) {
        window.setMessageBox([this](const QString& title, const QString& text) {
            EXPECT_TRUE(window.isRunning());
            boxes.emplace_back(title, text);
        });
    }
    ErpFixture db;
    ScriptedDesktop desktop;
    frmUtilitario window;
    std::vector<std::pair<QString, QString>> boxes;
    TempDir out;
};

TEST_F(UtilityWindowTest, ControlsAndCaption) {
    EXPECT_EQ(window.windowTitle(), "Utilitário");
    EXPECT_EQ(control<QPushButton>(window, "btConf")->toolTip(), "Confirmar a operação.");
    EXPECT_EQ(control<QPushButton>(window, "btSair")->text(), "&Sair");
    EXPECT_EQ(window.saveDialogTitle(), "Guardar verificação de números de série");
}

TEST_F(UtilityWindowTest, OneBoxPerMovementRowThenTheFindingsWorkbook) {
    db.execMain(
        "INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'T', 'SN1'),"
        " ('A1', '001', 'T', 'SN2'), ('B2', '002', 'T', 'SN9');"
        "INSERT INTO Artigos (Codigo, Stdisp) VALUES ('A1', 3);"
        "INSERT INTO ArtArm (Artigo, Armazem, Existenc) VALUES ('A1', '001', 3);"
        "INSERT INTO NserExis VALUES ('A1', 'SN1');");
    const auto file = out.path() / "series.xlsx";
    desktop.files.answer = file.string();
    ASSERT_TRUE(confirmAndWait(window));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].first, "Talvers");
    EXPECT_EQ(boxes[0].second,
              "Artigo  A1  para Armazém 001 Com Quant 2\n"
              "Stock Artigo  3\n"
              "Total NSer  1\n"
              " Armazém 001  Stock 3\n");
    EXPECT_EQ(boxes[1].second,
              "Artigo  B2  para Armazém 002 Com Quant 1\n"
              "Stock Artigo  0\n"
              "Total NSer  0\n");
    EXPECT_TRUE(desktop.messages.shown.empty());
    EXPECT_EQ(desktop.opener.opened, std::vector<std::string>{file.string()});
    const XlsxDump dump = dumpWorkbook(file);
    ASSERT_EQ(dump.sheetNames(), std::vector<std::string>{"Números de Série"});
    EXPECT_EQ(dump.cell("Números de Série", "A1").value,
              "Verificação de Números de Série em 29-02-2024");
    // SN1 is on record but never entered stock on a valid line.
    EXPECT_EQ(dump.maxRow("Números de Série"), 4);
    EXPECT_EQ(dump.cell("Números de Série", "C4").value, "SN1");
    EXPECT_EQ(dump.cell("Números de Série", "D4").value, "Não encontrado");
    const QAbstractItemModel* grid = control<QTableView>(window, "Grelha")->model();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->index(0, 2).data().toString(), "SN1");
    EXPECT_EQ(grid->index(0, 3).data().toString(), "Não encontrado");
}

// With no movement to check there is nothing to say and nothing to save; the buttons sit at
// the window's margin, where the other windows have their first caption.
TEST_F(UtilityWindowTest, NoMovementToCheckShowsNothing) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(control<QPushButton>(window, "btConf")->x(),
              window.layout()->contentsMargins().left());
    desktop.files.answer = (out.path() / "never.xlsx").string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(desktop.messages.shown.empty());
    EXPECT_TRUE(desktop.files.filters.empty());
    EXPECT_FALSE(window.isRunning());
}

TEST_F(UtilityWindowTest, ClosingWhileABoxIsAwaitedStopsTheCheck) {
    db.execMain(
        "INSERT INTO qor_ARM_picking_Movimentos VALUES ('A1', '001', 'T', 'SN1'),"
        " ('B2', '002', 'T', 'SN9');");
    desktop.files.answer = (out.path() / "never.xlsx").string();
    // The user leaves while the first box is up: the run ends without the second box.
    window.setMessageBox([this](const QString&, const QString& text) {
        boxes.emplace_back(QString(), text);
        QMetaObject::invokeMethod(
            &window, [this] { window.close(); }, Qt::QueuedConnection);
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(control<QPushButton>(window, "btConf"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
    EXPECT_FALSE(window.isRunning());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(desktop.files.filters.empty());
    EXPECT_FALSE(std::filesystem::exists(desktop.files.answer));
}

}  // namespace
}  // namespace talvers
