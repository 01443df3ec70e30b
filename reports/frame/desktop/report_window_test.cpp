#include "reports/frame/desktop/report_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "shell/desktop/common/elided_label.h"
#include "shell/desktop/common/localized_file_model.h"
#include "reports/frame/desktop/report_file_dialog.h"
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

// The work shows from the start: "a processar ...." and the moving bar while the query runs,
// the counter from the first row; never behind the no-data message.
TEST_F(ReportWindowFrame, WorkShowsFromConfirmAndTheCounterFromTheFirstRow) {
    bool busyBeforeFirstRow = false;
    bool counterBeforeFirstRow = true;
    bool seenWithRows = false;
    ScriptedReportWindow* current = nullptr;
    const auto labelsUp = [&] {
        return control<QLabel>(*current, "Label2_1")->isVisible() ||
               control<QLabel>(*current, "Label2_2")->isVisible() ||
               control<QProgressBar>(*current, "Progresso")->isVisible();
    };
    const auto engine = [&](long rows) {
        return [&, rows](ReportProgress& progress) {
            // The query phase: the window is shown what the labels look like meanwhile.
            current->runOnWindowThreadForTest([&] {
                auto* bar = control<QProgressBar>(*current, "Progresso");
                busyBeforeFirstRow = control<QLabel>(*current, "Label2_1")->isVisible() &&
                                     bar->isVisible() && bar->maximum() == 0;
                counterBeforeFirstRow = control<QLabel>(*current, "Label2_2")->isVisible();
            });
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
        EXPECT_TRUE(busyBeforeFirstRow) << rows;
        EXPECT_FALSE(counterBeforeFirstRow) << rows;
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

// After a save the window itself says where the workbook went (with the note a name without
// .xlsx needs) and opens its folder on request; the next run starts without it.
TEST_F(ReportWindowFrame, TheWindowSaysWhereTheWorkbookWentAndOpensItsFolder) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return oneRow(); });
    window.show();
    auto* saved = control<ElidedLabel>(window, "Gravado");
    auto* folder = control<QPushButton>(window, "btPasta");
    EXPECT_FALSE(saved->isVisible());
    const QString here = QDir::toNativeSeparators(QString::fromStdString(out.path().string()));
    desktop.files.answer = (out.path() / "livro").string();
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_TRUE(folder->isVisible());
    EXPECT_EQ(saved->fullText(), "Gravado em " + here + QDir::separator() +
                                     "livro — Sem a extensão .xlsx, o ficheiro pode não abrir com "
                                     "duplo clique.");
    QTest::mouseClick(folder, Qt::LeftButton);
    EXPECT_EQ(desktop.opener.opened.back(), out.path().string());
    // A folder the desktop cannot open, or one gone meanwhile, is named with the reason.
    desktop.opener.succeeds = false;
    QTest::mouseClick(folder, Qt::LeftButton);
    const std::string named = "Não foi possível abrir a pasta \"" + here.toStdString() + "\": ";
    EXPECT_EQ(texts(desktop.messages).back(),
              named + "o ambiente de trabalho não tem nenhum programa para abrir pastas.");
    std::filesystem::remove(out.path() / "livro");
    std::filesystem::remove(out.path());
    const size_t asked = desktop.opener.opened.size();
    QTest::mouseClick(folder, Qt::LeftButton);
    EXPECT_EQ(texts(desktop.messages).back(), named + "a pasta já não existe.");
    EXPECT_EQ(desktop.opener.opened.size(), asked);
    std::filesystem::create_directory(out.path());
    desktop.opener.succeeds = true;
    desktop.files.answer = "";
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_FALSE(saved->isVisible());
}

// When the desktop cannot open the workbook, a message names it, its location already in sight.
TEST_F(ReportWindowFrame, AWorkbookTheDesktopCannotOpenIsNamedInAMessage) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return oneRow(); });
    window.show();
    desktop.opener.succeeds = false;
    desktop.files.answer = (out.path() / "livro.xlsx").string();
    bool locationInSight = false;
    desktop.messages.onPresent = [&] {
        locationInSight = control<ElidedLabel>(window, "Gravado")->isVisible();
    };
    ASSERT_TRUE(confirmAndWait(window));
    EXPECT_EQ(texts(desktop.messages),
              std::vector<std::string>{openFailureText(desktop.files.answer)});
    EXPECT_TRUE(locationInSight);
}

// The dialog starts in the folder of the last workbook saved (kept in the per-user store),
// else in Documents, else at home; its list writes dates and sizes in Portuguese.
TEST_F(ReportWindowFrame, TheSaveDialogStartsInTheLastFolderUsedElseDocumentsElseHome) {
    const QString home = QString::fromStdString((out.path() / "casa").string());
    const QString reports = QString::fromStdString((out.path() / "mapas").string());
    std::filesystem::create_directories(out.path() / "casa");
    std::filesystem::create_directories(out.path() / "mapas");
    qputenv("HOME", home.toUtf8());  // each test runs in a process of its own
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    QSettings store(reports + ".ini", QSettings::IniFormat);
    EXPECT_EQ(ReportFileDialog::startFolder(&store), home);
    std::filesystem::create_directories(out.path() / "casa" / "Documents");
    EXPECT_EQ(ReportFileDialog::startFolder(&store), home + "/Documents");

    writeText(out.path() / "mapas" / "antigo.xlsx", std::string(1536, 'x'));
    QFile old(reports + "/antigo.xlsx");
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime(QDate(2024, 12, 9), QTime(14, 27)),
                                QFileDevice::FileModificationTime));
    old.close();
    ReportFileDialog::rememberFolder(&store, reports + "/novo.xlsx");

    ReportWindowServices services = desktop.services();
    services.files = nullptr;
    services.store = &store;
    ScriptedReportWindow window(services, [](ReportProgress&) { return oneRow(); });
    whenFileDialogOpens([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.directory().absolutePath(), reports);
        auto* view = dialog.findChild<QTreeView*>("treeView");
        ASSERT_NE(view, nullptr);
        const QModelIndex root = view->rootIndex();
        ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(root) == 1; }));
        EXPECT_EQ(view->model()->index(0, LocalizedFileModel::kDateColumn, root).data(),
                  "09-12-2024 14:27");
        EXPECT_EQ(view->model()->index(0, LocalizedFileModel::kSizeColumn, root).data(), "1,5 kB");
        chooseFile(dialog, home + "/escolhido.xlsx");
    });
    window.SelecionaFicheiro("Ficheiros de excel (*.xlsx)|*.xlsx");
    EXPECT_EQ(ReportFileDialog::startFolder(&store), home);
    // A remembered folder that is gone is no place to start.
    std::filesystem::remove_all(out.path() / "casa");
    EXPECT_EQ(ReportFileDialog::startFolder(&store), QDir::homePath());
}

// Tab and Shift+Tab leave the grid for the buttons; the arrow keys move between its cells.
TEST_F(ReportWindowFrame, TabLeavesTheGridEitherWay) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) {
        Table t({{"Coluna", FieldType::Text, 10}, {"Outra", FieldType::Text, 10}});
        t.addRow({Value(std::string("a")), Value(std::string("b"))});
        return t;
    });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    desktop.files.answer = "";
    ASSERT_TRUE(confirmAndWait(window));
    auto* grid = control<QTableView>(window, "Grelha");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentIndex().column(), 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btConf");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "btSair");
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

// Rows enough for a write that lasts a while; the engine counts none, so the counter shows
// only the write's rows.
Table manyRows() {
    Table t({{"Texto", FieldType::Text, 10}, {"Valor", FieldType::Money, 0}});
    for (int i = 0; i < 40000; ++i) t.addRow(valueRow(std::to_string(i), Money::fromInteger(i)));
    return t;
}

bool privateFolderIn(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".talvers-")) return true;
    return false;
}

// Waits until the window is seen counting written rows while the write's private folder
// exists: the window's thread ran while the workbook was being written.
bool seenWhileWriting(ReportWindow& window, const std::filesystem::path& folder) {
    auto* counter = control<QLabel>(window, "Label2_2");
    return QTest::qWaitFor(
        [&] { return counter->isVisible() && window.isRunning() && privateFolderIn(folder); },
        20000);
}

TEST_F(ReportWindowFrame, TheWorkbookIsWrittenOnTheWorkerWhileTheWindowCountsItsRows) {
    ScriptedReportWindow window(desktop.services(), [](ReportProgress&) { return manyRows(); });
    desktop.files.answer = (out.path() / "livro.xlsx").string();
    window.show();
    QSignalSpy finished(&window, &ReportWindow::runFinished);
    window.confirm();
    EXPECT_TRUE(seenWhileWriting(window, out.path()));
    EXPECT_TRUE(control<QLabel>(window, "Label2_2")->text().endsWith("/40000"));
    ASSERT_TRUE(waitForRunEnd(finished));
    EXPECT_EQ(desktop.saved, std::vector<std::string>{desktop.files.answer});
    EXPECT_FALSE(privateFolderIn(out.path()));
}

// Sair and Esc abandon the write at its next row: the old file stays byte for byte, nothing
// is left behind, announced, opened or said, and the window closes.
TEST_F(ReportWindowFrame, LeavingDuringTheWriteKeepsTheOldFile) {
    const std::string old = "o livro de ontem";
    for (const bool escape : {false, true}) {
        ScriptedDesktop scripted;
        ScriptedReportWindow window(scripted.services(),
                                    [](ReportProgress&) { return manyRows(); });
        const auto file = out.path() / (escape ? "esc.xlsx" : "sair.xlsx");
        std::ofstream(file, std::ios::binary) << old;
        scripted.files.answer = file.string();
        window.show();
        window.confirm();
        ASSERT_TRUE(seenWhileWriting(window, out.path())) << escape;
        if (escape) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else {
            control<QPushButton>(window, "btSair")->click();
        }
        EXPECT_FALSE(window.isRunning());
        EXPECT_FALSE(window.isVisible());
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old) << escape;
        EXPECT_FALSE(privateFolderIn(out.path())) << escape;
        EXPECT_TRUE(scripted.messages.shown.empty()) << escape;
        EXPECT_TRUE(scripted.saved.empty()) << escape;
        EXPECT_TRUE(scripted.opener.opened.empty()) << escape;
    }
}

// A window with one input, to see where the keyboard goes during and after a run.
class OneInputWindow : public ScriptedReportWindow {
  public:
    explicit OneInputWindow(const ReportWindowServices& services)
        : ScriptedReportWindow(services, [](ReportProgress&) { return oneRow(); }) {
        auto* input = new QLineEdit(this);
        input->setObjectName(QStringLiteral("Entrada"));
        inputLayout()->addWidget(input, 0, 0);
        setInputChain({input});
    }
};

// Started with Space on btConf the focus comes back to btConf, started with Enter from an
// input it comes back to the first input; during the run it is never on btSair, so the next
// Enter runs the report again instead of closing the window.
TEST_F(ReportWindowFrame, AfterARunTheFocusIsBackOnConfirmOrTheFirstInputNeverOnSair) {
    for (const bool fromConfirm : {true, false}) {
        OneInputWindow window(desktop.services());
        desktop.files.answer = (out.path() / "foco.xlsx").string();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QString focusedDuringRun;
        desktop.files.onAsk = [&] { focusedDuringRun = QApplication::focusWidget()->objectName(); };
        QSignalSpy finished(&window, &ReportWindow::runFinished);
        if (fromConfirm) {
            control<QPushButton>(window, "btConf")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        ASSERT_TRUE(waitForRunEnd(finished));
        EXPECT_NE(focusedDuringRun, "btSair") << fromConfirm;
        EXPECT_EQ(QApplication::focusWidget()->objectName(), fromConfirm ? "btConf" : "Entrada");
        ASSERT_TRUE(enterAndWait(window));
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(finished.count(), 2);
    }
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
