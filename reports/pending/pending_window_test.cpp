#include "reports/pending/pending_window.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "reports/frame/desktop/report_table_model.h"
#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

using namespace talvers::testing;

class PendingWindowTest : public ::testing::Test {
  protected:
    PendingWindowTest() : gate(db.bd()), window(ErpSession{gate, db.bdExt()}, desktop.services()) {
        db.execMain("INSERT INTO Vendedor VALUES (1, 'Ana Silva');");
        db.customer(1, "Cliente Um");
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void twoOrderLines() {
        db.orderLine("ECL/2024/A/1/1", "2024-01-10 00:00:00", kCustomerOrder, 1, "AR1", "2");
        db.orderLine("ECL/2024/A/2/1", "2024-01-11 00:00:00", kCustomerOrder, 1, "AR2", "3");
    }

    QLabel* working() { return control<QLabel>(window, "Label2_1"); }
    QLabel* counter() { return control<QLabel>(window, "Label2_2"); }
    QPushButton* btConf() { return control<QPushButton>(window, "btConf"); }

    QProgressBar* busy() { return control<QProgressBar>(window, "Progresso"); }

    void expectAtRest() {
        EXPECT_FALSE(working()->isVisible());
        EXPECT_FALSE(busy()->isVisible());
        EXPECT_FALSE(counter()->isVisible());
        EXPECT_TRUE(btConf()->isEnabled());
        EXPECT_FALSE(window.isRunning());
    }

    ErpFixture db;
    ScriptedDesktop desktop;
    GateConnection gate;
    frmTalvers window;
    TempDir out;
};

TEST_F(PendingWindowTest, ControlsCaptionsAndStartDate) {
    EXPECT_EQ(window.windowTitle(), "Talvers Pendentes");
    EXPECT_TRUE(window.isModal());
    auto* picker = control<QDateEdit>(window, "DTPicker1");
    EXPECT_EQ(control<QLabel>(window, "Label2_0")->text(), "&Data");  // Alt+D: the date
    EXPECT_EQ(control<QLabel>(window, "Label2_0")->buddy(), picker);
    // Opened on 29 February 2024: one year earlier falls back to 28 February.
    EXPECT_EQ(picker->date(), QDate(2023, 2, 28));
    EXPECT_EQ(picker->text(), "28-02-2023");
    EXPECT_TRUE(picker->calendarPopup());
    EXPECT_EQ(picker->toolTip(), "Data a partir da qual se processa a extração.");
    EXPECT_EQ(btConf()->text(), "&Confirmar");
    EXPECT_EQ(btConf()->toolTip(), "Confirmar a operação.");
    auto* btSair = control<QPushButton>(window, "btSair");
    EXPECT_EQ(btSair->text(), "&Sair");
    EXPECT_EQ(btSair->toolTip(), "Abandonar a opção.");
    EXPECT_EQ(working()->text(), "a processar ....");
    EXPECT_TRUE(counter()->text().isEmpty());
    for (QLabel* label : {control<QLabel>(window, "Label2_0"), working(), counter()}) {
        EXPECT_EQ(label->font().family(), "Verdana");
    }
    EXPECT_EQ(control<QTableView>(window, "Grelha")->model()->rowCount(), 0);
    expectAtRest();
}

TEST_F(PendingWindowTest, NoRowsShowsTheNoDataMessageAndHidesTheLabels) {
    ASSERT_TRUE(confirmAndWait(window));
    ASSERT_EQ(texts(desktop.messages), std::vector<std::string>{std::string(kNoDataMessage)});
    EXPECT_EQ(desktop.messages.shown[0].title, "Informação");
    EXPECT_TRUE(desktop.files.filters.empty());
    EXPECT_TRUE(desktop.opener.opened.empty());
    expectAtRest();
}

TEST_F(PendingWindowTest, FullRunWritesTheWorkbookUnderTheChosenNameAndOpensIt) {
    twoOrderLines();
    // A name without extension is used as it is.
    const std::string file = (out.path() / "pendentes").string();
    desktop.files.answer = file;
    desktop.files.onAsk = [&] {
        // The file question comes after the copy loop: labels still up with the final count.
        EXPECT_TRUE(working()->isVisible());
        EXPECT_EQ(counter()->text(), "2/2");
        EXPECT_FALSE(btConf()->isEnabled());
    };
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(desktop.messages.shown.empty()) << texts(desktop.messages).front();
    EXPECT_EQ(desktop.files.filters, std::vector<std::string>{std::string(kExcelFilter)});
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(desktop.opener.opened, std::vector<std::string>{file});
    // The independent reader goes by the extension.
    const auto readable = out.path() / "copy.xlsx";
    std::filesystem::copy_file(file, readable);
    const XlsxDump dump = dumpWorkbook(readable);
    ASSERT_EQ(dump.sheetNames(), std::vector<std::string>{"Enc. Pendentes"});
    EXPECT_EQ(dump.cell("Enc. Pendentes", "A1").value, "Encomendas Pendentes em 29-02-2024");
    EXPECT_EQ(dump.maxRow("Enc. Pendentes"), 5);  // title, blank, headings, two lines
    expectAtRest();

    // A second run is independent and asks again.
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(desktop.files.filters.size(), 2u);
    EXPECT_EQ(desktop.opener.opened.size(), 2u);
}

// Started from the keyboard; the grid then holds what the workbook holds.
TEST_F(PendingWindowTest, EnterInTheDateRunsTheReportAndTheGridShowsTheWorkbooksRows) {
    twoOrderLines();
    db.execMain("UPDATE DOCGCLIN SET Valor = 1234.5");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(tabChain(window, 4),
              (std::vector<std::string>{"DTPicker1", "btConf", "btSair", "Grelha"}));
    EXPECT_EQ(tabChain(window, 1), std::vector<std::string>{"DTPicker1"});
    const auto file = out.path() / "grelha.xlsx";
    desktop.files.answer = file.string();
    ASSERT_TRUE(enterAndWait(window));
    ASSERT_TRUE(desktop.messages.shown.empty()) << texts(desktop.messages).front();
    const XlsxDump dump = dumpWorkbook(file);
    const std::string sheet = "Enc. Pendentes";
    const QAbstractItemModel* grid = control<QTableView>(window, "Grelha")->model();
    ASSERT_EQ(grid->rowCount(), dump.maxRow(sheet) - 3);
    ASSERT_EQ(grid->columnCount(), dump.maxColumn(sheet));
    int moneyColumn = -1;
    for (int c = 0; c < grid->columnCount(); ++c) {
        EXPECT_EQ(grid->headerData(c, Qt::Horizontal).toString().toStdString(),
                  dump.cell(sheet, 3, c + 1).value);
        for (int r = 0; r < grid->rowCount(); ++r) {
            const XlsxCell& cell = dump.cell(sheet, r + 4, c + 1);
            const QModelIndex shown = grid->index(r, c);
            if (cell.type != "n" && dump.cell(sheet, 3, c + 1).value == "Data") {
                // The workbook keeps its own " yyyy-mm-dd"; the grid shows it as the picker.
                const std::string& iso = cell.value;
                ASSERT_EQ(iso.size(), 11u) << iso;
                EXPECT_EQ(shown.data().toString().toStdString(),
                          " " + iso.substr(9, 2) + "-" + iso.substr(6, 2) + "-" + iso.substr(1, 4));
                continue;
            }
            if (cell.type != "n") {
                EXPECT_EQ(shown.data().toString().toStdString(), cell.value) << r << "," << c;
                continue;
            }
            // Numbers in the workbook's format, in the user's form, right-aligned.
            EXPECT_EQ(cell.numberFormat, "###,###,##0.00");
            EXPECT_EQ(shown.data().toString(),
                      ReportTableModel::numberText(Value(*Money::parse(cell.value)), QLocale()));
            EXPECT_TRUE(shown.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
            if (cell.number() == 1234.5) moneyColumn = c;
        }
    }
    ASSERT_GE(moneyColumn, 0);
    const QString thousands = QLocale().groupSeparator();
    EXPECT_EQ(grid->index(0, moneyColumn).data().toString(),
              "1" + thousands + "234" + QLocale().decimalPoint() + "50");
}

TEST_F(PendingWindowTest, CancelledFileNameWritesNothingOpensNothingSaysNothing) {
    twoOrderLines();
    desktop.files.answer = "";
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(desktop.files.filters.size(), 1u);
    EXPECT_TRUE(desktop.opener.opened.empty());
    EXPECT_TRUE(desktop.messages.shown.empty());
    expectAtRest();
    // The rows stay in view; a later run without rows clears them.
    auto* grid = control<QTableView>(window, "Grelha");
    EXPECT_EQ(grid->model()->rowCount(), 2);
    db.execMain("DELETE FROM DocGcLin");
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(PendingWindowTest, SecondConfirmDuringARunIsRefused) {
    twoOrderLines();
    desktop.files.answer = (out.path() / "p.xlsx").string();
    gate.holdNextQuery();
    QSignalSpy finished(&window, &ReportWindow::runFinished);
    QTest::mouseClick(btConf(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gate.holding(); }, 10000));
    // The window stays responsive while the engine waits on the database.
    EXPECT_TRUE(window.isRunning());
    EXPECT_FALSE(btConf()->isEnabled());
    const long sent = gate.queriesSent();
    QTest::mouseClick(btConf(), Qt::LeftButton);
    window.confirm();
    EXPECT_EQ(gate.queriesSent(), sent);
    gate.release();
    ASSERT_TRUE(finished.wait(20000));
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(desktop.files.filters.size(), 1u);
    EXPECT_EQ(desktop.opener.opened.size(), 1u);
    expectAtRest();
}

// F4 and Alt+Down drop the calendar without changing the date; Escape closes the calendar,
// then the window.
TEST_F(PendingWindowTest, F4OrAltDownOpensTheCalendarAndEscapeClosesIt) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* picker = control<QDateEdit>(window, "DTPicker1");
    QCalendarWidget* calendar = picker->calendarWidget();
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_F4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calendar->isVisible(); }, 5000));
    EXPECT_EQ(picker->date(), QDate(2023, 2, 28));
    // Keys go where the keyboard is: the calendar's day table.
    const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !calendar->isVisible(); }, 5000));
    EXPECT_TRUE(window.isVisible());

    QTest::keyClick(picker, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calendar->isVisible(); }, 5000));
    EXPECT_EQ(picker->date(), QDate(2023, 2, 28));  // Alt+Down no longer steps the day
    press(Qt::Key_Right);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !calendar->isVisible(); }, 5000));
    EXPECT_EQ(picker->date(), QDate(2023, 3, 1));

    press(Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

// Each way of closing: btSair, Esc, the close box (close()).
TEST_F(PendingWindowTest, ClosingDuringARunStopsItAndWritesNothing) {
    twoOrderLines();
    desktop.files.answer = (out.path() / "never.xlsx").string();
    const std::function<void(frmTalvers&)> closers[] = {
        [](frmTalvers& w) { QTest::mouseClick(control<QPushButton>(w, "btSair"), Qt::LeftButton); },
        [](frmTalvers& w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](frmTalvers& w) { w.close(); },
    };
    for (const auto& closeIt : closers) {
        auto running =
            std::make_unique<frmTalvers>(ErpSession{gate, db.bdExt()}, desktop.services());
        running->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(running.get()));
        gate.holdNextQuery();
        QTest::mouseClick(control<QPushButton>(*running, "btConf"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return gate.holding(); }, 10000));
        // The query returns only after the close was asked for; the engine then stops at its
        // first progress report.
        QTimer::singleShot(50, [&] { gate.release(); });
        closeIt(*running);
        EXPECT_FALSE(running->isVisible());
        EXPECT_FALSE(running->isRunning());
        running.reset();
    }
    EXPECT_TRUE(desktop.files.filters.empty());
    EXPECT_TRUE(desktop.opener.opened.empty());
    EXPECT_TRUE(desktop.messages.shown.empty());
    EXPECT_FALSE(std::filesystem::exists(out.path() / "never.xlsx"));
}

TEST_F(PendingWindowTest, DatabaseFailureShowsTheFailureMessageAndTheWindowStaysUsable) {
    twoOrderLines();
    gate.failNextQuery(207, "Invalid column name 'x'.");
    ASSERT_TRUE(confirmAndWait(window));
    ASSERT_EQ(desktop.messages.shown.size(), 1u);
    EXPECT_EQ(desktop.messages.shown[0].text,
              "Situação Anómala\n\rErro: Invalid column name 'x'.  207");
    EXPECT_TRUE(desktop.files.filters.empty());
    expectAtRest();

    desktop.files.answer = (out.path() / "again.xlsx").string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(desktop.messages.shown.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(desktop.files.answer));
}

TEST_F(PendingWindowTest, SairClosesWithoutAsking) {
    QTest::mouseClick(control<QPushButton>(window, "btSair"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(desktop.messages.shown.empty());
}

}  // namespace
}  // namespace talvers
