#include "shell/desktop/frm_main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "shell/desktop/common/elided_label.h"
#include "shell/dataaccess/database_error.h"
#include "shell/desktop/window_placement.h"
#include "tests/support/desktop/desktop_test_support.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using testing::RecordingPresenter;

// A session over SQLite ERP files, started as the program starts.
Session sqliteSession(const talvers::testing::TempDir& dir, const std::string& companyRows,
                      const std::string& programSection = "") {
    testing::createErpFile(dir / "erp.db", false, companyRows);
    testing::createErpFile(dir / "lisboa.db", true);
    testing::writeFile(dir / "Talvers.qor",
                       testing::sqliteSettingsText("erp.db", "lisboa.db", programSection));
    return startUp(readAppSettings(dir / "Talvers.qor"));
}

// A report window that records its life and closes itself as soon as it is shown modally.
struct WindowLog {
    std::vector<std::string> events;
    int made = 0;
};

class SelfClosingWindow : public QDialog {
  public:
    SelfClosingWindow(WindowLog& log, std::string name) : log_(log) {
        name_ = name + " " + std::to_string(++log_.made);
        log_.events.push_back("made " + name_);
        QTimer::singleShot(0, this, [this] {
            log_.events.push_back(std::string("shown ") +
                                  (QApplication::activeModalWidget() == this ? "modal " : "") +
                                  (parentWidget() ? "owned " : "") + name_);
            reject();
        });
    }
    ~SelfClosingWindow() override { log_.events.push_back("destroyed " + name_); }

  private:
    WindowLog& log_;
    std::string name_;
};

ReportWindowFactory loggingFactory(WindowLog& log) {
    const auto maker = [&log](std::string name) -> ReportWindowMaker {
        return [&log, name](const SavedFileNotice&) {
            return std::make_unique<SelfClosingWindow>(log, name);
        };
    };
    return {maker("pending"), maker("supplier"), maker("provisioning"), maker("utility")};
}

class MainWindowTest : public ::testing::Test {
  protected:
    talvers::testing::TempDir dir;
    QSettings store{QString::fromStdString((dir / "placement.ini").string()), QSettings::IniFormat};
    RecordingPresenter messages;
    WindowLog log;

    std::unique_ptr<frmMain> mainWindow(Session& session) {
        return std::make_unique<frmMain>(session, loggingFactory(log), store, messages);
    }
    QString stored(const char* key) { return store.value(QString("Settings/") + key).toString(); }
};

QStringList captions(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions) texts << action->text();
    return texts;
}

TEST_F(MainWindowTest, MenuBarHoldsTheCommandsInOrderWithTheSwitchedOffItems) {
    Session session = sqliteSession(dir, "INSERT INTO EMPRESA VALUES ('ACME LDA', '123');");
    auto window = mainWindow(session);
    const QList<QAction*> top = window->menuBar()->actions();
    EXPECT_EQ(captions(top), QStringList({"&Sair", "&Talvers", "&Utilitário", "&Mensagens"}));
    auto* mm = window->findChild<QMenu*>("mm");
    ASSERT_NE(mm, nullptr);
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->objectName(), "sair");
    EXPECT_EQ(top[1], mm->menuAction());
    EXPECT_EQ(top[2]->objectName(), "Util");
    EXPECT_EQ(top[3]->objectName(), "Mensagem");
    EXPECT_EQ(
        captions(mm->actions()),
        QStringList({"&Encomendas Pendentes", "Encomendas/&Fornecedor", "&Aprovisionamento"}));
    EXPECT_EQ(mm->actions()[0]->objectName(), "Enc");
    EXPECT_EQ(mm->actions()[1]->objectName(), "EncFor");
    EXPECT_EQ(mm->actions()[2]->objectName(), "Apr");
    for (const QAction* action :
         {top[0], top[1], mm->actions()[0], mm->actions()[1], mm->actions()[2]}) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    }
    EXPECT_FALSE(top[2]->isEnabled());  // no Utilitario=1 in the settings
    EXPECT_FALSE(top[3]->isEnabled());
    auto* mdi = qobject_cast<QMdiArea*>(window->centralWidget());
    ASSERT_NE(mdi, nullptr);
    EXPECT_TRUE(mdi->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, UtilitarioOneSwitchesTheUtilityOn) {
    Session session = sqliteSession(dir, "", "[Talvers]\nUtilitario=1\n");
    auto window = mainWindow(session);
    auto* util = window->findChild<QAction*>("Util");
    ASSERT_NE(util, nullptr);
    EXPECT_TRUE(util->isEnabled());
    util->trigger();
    EXPECT_EQ(log.events, (std::vector<std::string>{"made utility 1", "shown modal utility 1",
                                                    "destroyed utility 1"}));
    EXPECT_FALSE(window->findChild<QAction*>("Mensagem")->isEnabled());
}

TEST_F(MainWindowTest, StatusBarHasSixPanelsWithStatusAndTheVersion) {
    Session session = sqliteSession(dir, "");
    auto window = mainWindow(session);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QStatusBar* bar = window->findChild<QStatusBar*>("StatusBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar, window->statusBar());
    std::vector<QLabel*> panels;
    for (int n = 1; n <= 6; ++n) {
        panels.push_back(bar->findChild<QLabel*>(QString("Panel%1").arg(n)));
        ASSERT_NE(panels.back(), nullptr) << n;
    }
    EXPECT_EQ(panels[0]->text(), "Status");
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(panels[n]->text().isEmpty()) << n + 1;
    EXPECT_EQ(panels[5]->text(), "Versão: " + QString::fromStdString(programVersionText()));
    // Panels run left to right in number order and the fifth takes the remaining width.
    for (int n = 1; n < 6; ++n) EXPECT_LT(panels[n - 1]->x(), panels[n]->x()) << n;
    for (int n : {0, 1, 2, 3, 5}) EXPECT_GT(panels[4]->width(), panels[n]->width()) << n + 1;
}

TEST_F(MainWindowTest, AWrittenWorkbookIsNamedInTheWidePanelCutInTheMiddleWhenLong) {
    Session session = sqliteSession(dir, "");
    const std::string longPath = "/home/ana/" + std::string(300, 'x') + "/pendentes.xlsx";
    ReportWindowFactory factory = loggingFactory(log);
    factory.pending = [&](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
        auto window = std::make_unique<SelfClosingWindow>(log, "pending");
        saved("/tmp/pendentes.xlsx");
        saved(longPath);
        return window;
    };
    frmMain window(session, factory, store, messages);
    window.resize(600, 400);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* panel = window.statusBar()->findChild<ElidedLabel*>("Panel5");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->text().isEmpty());
    window.findChild<QAction*>("Enc")->trigger();
    // The last workbook written is the one named; the window keeps its width.
    EXPECT_EQ(panel->fullText(), QString::fromStdString("Gravado: " + longPath));
    EXPECT_EQ(panel->toolTip(), panel->fullText());
    EXPECT_EQ(window.width(), 600);
    EXPECT_TRUE(panel->text().startsWith("Gravado: /home/ana/")) << panel->text().toStdString();
    EXPECT_TRUE(panel->text().endsWith("/pendentes.xlsx")) << panel->text().toStdString();
    EXPECT_TRUE(panel->text().contains(QChar(0x2026)));
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->width());
}

TEST_F(MainWindowTest, CaptionAndVariantComeFromTheCompany) {
    Session session = sqliteSession(dir, "INSERT INTO EMPRESA VALUES ('ACME LDA', '123456789');",
                                    "[Talvers]\nContribuinteVariante=500000000\n");
    auto window = mainWindow(session);
    EXPECT_EQ(window->windowTitle(), "[ACME LDA]");
    EXPECT_FALSE(window->companyVariant());
    EXPECT_EQ(&window->bd(), session.bd.get());
    EXPECT_EQ(&window->bdExt(), session.bdExt.get());
}

TEST_F(MainWindowTest, TheConfiguredTaxpayerSelectsTheVariant) {
    Session session = sqliteSession(dir, "INSERT INTO EMPRESA VALUES ('KELMAR SA', '500000000');",
                                    "[Talvers]\nContribuinteVariante=500000000\n");
    auto window = mainWindow(session);
    EXPECT_EQ(window->windowTitle(), "[KELMAR SA]");
    EXPECT_TRUE(window->companyVariant());
}

TEST_F(MainWindowTest, EmptyCompanyTableGivesAnEmptyCaption) {
    Session session = sqliteSession(dir, "", "[Talvers]\nContribuinteVariante=500000000\n");
    auto window = mainWindow(session);
    EXPECT_EQ(window->windowTitle(), "");
    EXPECT_FALSE(window->companyVariant());
}

TEST_F(MainWindowTest, EachCommandMakesAFreshModalWindowAndDestroysItWhenClosed) {
    Session session = sqliteSession(dir, "", "[Talvers]\nUtilitario=1\n");
    auto window = mainWindow(session);
    window->show();
    window->findChild<QAction*>("Enc")->trigger();
    window->findChild<QAction*>("Enc")->trigger();
    window->findChild<QAction*>("EncFor")->trigger();
    window->findChild<QAction*>("Apr")->trigger();
    EXPECT_EQ(log.events, (std::vector<std::string>{
                              "made pending 1", "shown modal pending 1", "destroyed pending 1",
                              "made pending 2", "shown modal pending 2", "destroyed pending 2",
                              "made supplier 3", "shown modal supplier 3", "destroyed supplier 3",
                              "made provisioning 4", "shown modal provisioning 4",
                              "destroyed provisioning 4"}));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindowTest, AWindowThatCannotLoadIsReportedAndTheMainWindowStays) {
    Session session = sqliteSession(dir, "");
    ReportWindowFactory factory = loggingFactory(log);
    factory.pending = [](const SavedFileNotice&) -> std::unique_ptr<QDialog> {
        throw DatabaseError(208, "Invalid object name 'dbo.Artigo'.");
    };
    frmMain window(session, factory, store, messages);
    window.show();
    window.findChild<QAction*>("Enc")->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, failureMessageText("Invalid object name 'dbo.Artigo'.", 208));
    EXPECT_TRUE(window.isVisible());
    window.findChild<QAction*>("Apr")->trigger();
    EXPECT_EQ(log.events.back(), "destroyed provisioning 1");
}

TEST_F(MainWindowTest, FirstRunUsesTheDefaultPlacementAndSairSavesIt) {
    Session session = sqliteSession(dir, "");
    auto window = mainWindow(session);
    const QScreen* screen = window->screen();
    const double dpiX = screen->logicalDotsPerInchX();
    const double dpiY = screen->logicalDotsPerInchY();
    EXPECT_EQ(window->pos(), QPoint(twipsToPixels(1000, dpiX), twipsToPixels(1000, dpiY)));
    EXPECT_EQ(window->size(), QSize(twipsToPixels(6500, dpiX), twipsToPixels(6500, dpiY)));
    EXPECT_FALSE(store.contains("Settings/MainLeft"));

    window->show();
    window->move(twipsToPixels(2880, dpiX), twipsToPixels(1440, dpiY));
    window->resize(twipsToPixels(9000, dpiX), twipsToPixels(7200, dpiY));
    window->findChild<QAction*>("sair")->trigger();
    EXPECT_FALSE(window->isVisible());
    store.sync();
    // Whole twips, as decimal text; the pixel grid may move a value by less than a pixel.
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
        bool ok = false;
        stored(key).toInt(&ok);
        EXPECT_TRUE(ok) << key << " " << stored(key).toStdString();
    }
    EXPECT_NEAR(stored("MainLeft").toDouble(), 2880, 1440 / dpiX);
    EXPECT_NEAR(stored("MainTop").toDouble(), 1440, 1440 / dpiY);
    EXPECT_NEAR(stored("MainWidth").toDouble(), 9000, 1440 / dpiX);
    EXPECT_NEAR(stored("MainHeight").toDouble(), 7200, 1440 / dpiY);

    auto again = mainWindow(session);
    EXPECT_EQ(again->pos(), QPoint(twipsToPixels(2880, dpiX), twipsToPixels(1440, dpiY)));
    EXPECT_EQ(again->size(), QSize(twipsToPixels(9000, dpiX), twipsToPixels(7200, dpiY)));
}

TEST_F(MainWindowTest, ClosingWhileMinimizedKeepsThePreviousPlacement) {
    Session session = sqliteSession(dir, "");
    store.setValue("Settings/MainLeft", "1500");
    store.setValue("Settings/MainTop", "1600");
    store.setValue("Settings/MainWidth", "7000");
    store.setValue("Settings/MainHeight", "8000");
    auto window = mainWindow(session);
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    window->move(0, 0);
    window->close();
    EXPECT_EQ(stored("MainLeft"), "1500");
    EXPECT_EQ(stored("MainTop"), "1600");
    EXPECT_EQ(stored("MainWidth"), "7000");
    EXPECT_EQ(stored("MainHeight"), "8000");
}

TEST_F(MainWindowTest, AMaximizedWindowSavesItsMaximizedSize) {
    Session session = sqliteSession(dir, "");
    auto window = mainWindow(session);
    window->showMaximized();
    QTest::qWait(20);
    const QScreen* screen = window->screen();
    ASSERT_GT(window->width(), twipsToPixels(6500, screen->logicalDotsPerInchX()));
    const int width = window->width();
    window->close();
    EXPECT_NEAR(stored("MainWidth").toDouble(), pixelsToTwips(width, screen->logicalDotsPerInchX()),
                1);
}

TEST_F(MainWindowTest, AStoredValueThatIsNotANumberFallsBackToItsDefault) {
    Session session = sqliteSession(dir, "");
    store.setValue("Settings/MainLeft", "abc");
    store.setValue("Settings/MainTop", "2880");
    store.setValue("Settings/MainWidth", "");
    store.setValue("Settings/MainHeight", "12x");
    const Placement placement = readPlacement(store);
    EXPECT_EQ(placement.left, 1000);
    EXPECT_EQ(placement.top, 2880);
    EXPECT_EQ(placement.width, 6500);
    EXPECT_EQ(placement.height, 6500);
    auto window = mainWindow(session);
    const double dpiY = window->screen()->logicalDotsPerInchY();
    EXPECT_EQ(window->y(), twipsToPixels(2880, dpiY));
}

}  // namespace
}  // namespace talvers
