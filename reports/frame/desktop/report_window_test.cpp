#include "reports/frame/desktop/report_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "shell/dataaccess/database_error.h"
#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using namespace talvers::testing;

// The scripted engines read no database.
class NoDatabase : public Connection {
  protected:
    Table runQuery(const std::string&) override { throw DatabaseError(0, "sem base de dados"); }
    void runExecute(const std::string&) override { throw DatabaseError(0, "sem base de dados"); }
};
NoDatabase noDatabase;

// A report whose engine is the test's own function.
class ScriptedReportWindow : public ReportWindow {
  public:
    ScriptedReportWindow(const ReportWindowServices& services,
                         std::function<Table(ReportProgress&)> engine)
        : ReportWindow(QStringLiteral("Teste"), ErpSession{noDatabase, noDatabase}, services,
                       nullptr),
          engine_(std::move(engine)) {}

    void runOnWindowThreadForTest(const std::function<void()>& task) { runOnWindowThread(task); }

  protected:
    ReportRun prepareRun() override { return {engine_, {"Folha", "Título em "}}; }

  private:
    std::function<Table(ReportProgress&)> engine_;
};

Table oneRow() {
    Table t({{"Coluna", FieldType::Text, 10}});
    t.addRow({Value(std::string("valor"))});
    return t;
}

// Runs `answer` on the file dialog as soon as it is open.
void whenFileDialogOpens(std::function<void(QFileDialog&)> answer) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        poll->stop();
        poll->deleteLater();
        answer(*dialog);
    });
    poll->start(10);
}

// As a user would: the name is typed into the dialog's name field, then OK. (selectFile()
// leaves a focused name field alone, so it cannot stand for typing.)
void chooseFile(QFileDialog& dialog, const QString& path) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    EXPECT_EQ(dialog.selectedFiles().value(0), path);
    static_cast<QDialog&>(dialog).accept();  // protected in QFileDialog
}

TEST(ReportWindowFilters, DescriptionAndPatternBecomeQtNameFilters) {
    EXPECT_EQ(ReportWindow::nameFilters("Ficheiros de excel (*.xlsx)|*.xlsx"),
              QStringList{"Ficheiros de excel (*.xlsx)"});
    EXPECT_EQ(ReportWindow::nameFilters("Livros|*.xlsx|Todos|*.*"),
              (QStringList{"Livros (*.xlsx)", "Todos (*.*)"}));
    EXPECT_TRUE(ReportWindow::nameFilters("").isEmpty());
}

class ReportWindowFrame : public ::testing::Test {
  protected:
    ScriptedDesktop desktop;
    TempDir out;
};

TEST_F(ReportWindowFrame, SelecionaFicheiroReturnsTheNameAsChosenAndRemembersIt) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return oneRow(); });
    const QString chosen = QString::fromStdString((out.path() / "relatorio").string());
    whenFileDialogOpens([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Ficheiros de excel (*.xlsx)"});
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        chooseFile(dialog, chosen);
    });
    // No extension is added to a name typed without one.
    EXPECT_EQ(window.SelecionaFicheiro("Ficheiros de excel (*.xlsx)|*.xlsx"), chosen);

    // The next question starts on the last name; cancelling gives "".
    whenFileDialogOpens([&](QFileDialog& dialog) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.selectedFiles().value(0) == chosen; }));
        dialog.reject();
    });
    EXPECT_EQ(window.SelecionaFicheiro("Ficheiros de excel (*.xlsx)|*.xlsx"), "");
}

TEST_F(ReportWindowFrame, WithoutAFileProviderTheRunAsksThroughItsOwnDialog) {
    ReportWindowServices services = desktop.services();
    services.files = nullptr;
    ScriptedReportWindow window(services, [](ReportProgress&) { return oneRow(); });
    const auto file = out.path() / "livro.xlsx";
    whenFileDialogOpens(
        [&](QFileDialog& dialog) { chooseFile(dialog, QString::fromStdString(file.string())); });
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(desktop.opener.opened, std::vector<std::string>{file.string()});
}

TEST_F(ReportWindowFrame, TheLastCountShowsHoweverFastTheEngineReports) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress& progress) {
        for (long i = 1; i <= 5000; ++i) reportProgress(progress, i, 5000);
        return oneRow();
    });
    QString shown;
    desktop.files.onAsk = [&] { shown = control<QLabel>(window, "Label2_2")->text(); };
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(shown, "5000/5000");
}

// The progress labels appear with the first row and never behind the no-data message.
TEST_F(ReportWindowFrame, ProgressLabelsShowOnlyOnceRowsAreCounted) {
    bool seenBeforeFirstRow = true;
    bool seenWithRows = false;
    ScriptedReportWindow* current = nullptr;
    const auto labelsUp = [&] {
        return control<QLabel>(*current, "Label2_1")->isVisible() ||
               control<QLabel>(*current, "Label2_2")->isVisible();
    };
    const auto engine = [&](long rows) {
        return [&, rows](ReportProgress& progress) {
            // The query phase: the window is shown what the labels look like meanwhile.
            current->runOnWindowThreadForTest([&] { seenBeforeFirstRow = labelsUp(); });
            for (long i = 1; i <= rows; ++i) reportProgress(progress, i, rows);
            if (rows > 0) QTest::qWait(0);
            return rows > 1 ? oneRow() : Table({{"Coluna", FieldType::Text, 10}});
        };
    };
    for (const long rows : {0L, 1L, 2L}) {
        ScriptedReportWindow window(desktop.services(), engine(rows));
        current = &window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        std::vector<bool> upWhileAsked;
        desktop.messages.onPresent = [&] { upWhileAsked.push_back(labelsUp()); };
        desktop.files.onAsk = [&] { seenWithRows = labelsUp(); };
        ASSERT_TRUE(confirmAndWait(window));
        EXPECT_FALSE(seenBeforeFirstRow) << rows;
        EXPECT_FALSE(labelsUp()) << rows;
        if (rows < 2) {
            // Rows counted but none kept, or none at all: the no-data message, labels down.
            EXPECT_EQ(upWhileAsked, std::vector<bool>{false}) << rows;
        } else {
            EXPECT_TRUE(seenWithRows);
        }
        desktop.messages.shown.clear();
    }
}

TEST_F(ReportWindowFrame, AWrittenWorkbookIsAnnouncedAndTheDialogSaysWhatItSaves) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return oneRow(); });
    EXPECT_EQ(window.saveDialogTitle(), "Guardar relatório");
    desktop.files.answer = "";
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(desktop.saved.empty());  // cancelled: nothing written, nothing to tell
    desktop.files.answer = (out.path() / "livro.xlsx").string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(desktop.saved, std::vector<std::string>{desktop.files.answer});
    // A write that fails is not announced.
    desktop.files.answer = (out.path() / "no-such-folder" / "livro.xlsx").string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(desktop.saved.size(), 1u);
    EXPECT_EQ(desktop.messages.shown.size(), 1u);

    whenFileDialogOpens([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Guardar relatório");
        dialog.reject();
    });
    EXPECT_EQ(window.SelecionaFicheiro("Ficheiros de excel (*.xlsx)|*.xlsx"), "");
}

TEST_F(ReportWindowFrame, KeyboardFocusStartsOnConfirmWithoutInputsAndEnterRunsIt) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return oneRow(); });
    desktop.files.answer = (out.path() / "enter.xlsx").string();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(tabChain(window, 3), (std::vector<std::string>{"btConf", "btSair", "Grelha"}));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btConf");
    EXPECT_EQ(window.size(), QSize(900, 600));
    ASSERT_TRUE(enterAndWait(window));
    EXPECT_EQ(desktop.saved.size(), 1u);
}

TEST_F(ReportWindowFrame, AnyEngineFailureIsShownAsTheFailureMessage) {
    ScriptedReportWindow window(
        desktop.services(), [](ReportProgress&) -> Table { throw std::runtime_error("falhou"); });
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(texts(desktop.messages),
              std::vector<std::string>{"Situação Anómala\n\rErro: Ocorreu uma falha "
                                       "inesperada.  0"});
    EXPECT_EQ(desktop.messages.shown[0].details, "falhou");
    EXPECT_FALSE(window.isRunning());
}

}  // namespace
}  // namespace talvers
