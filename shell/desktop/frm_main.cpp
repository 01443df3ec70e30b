#include "shell/desktop/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <QDir>

#include "shell/desktop/common/elided_label.h"
#include "shell/dataaccess/database_error.h"
#include "shell/desktop/window_placement.h"

namespace talvers {
namespace {

constexpr int kPanelCount = 6;
constexpr int kWidePanel = 5;
constexpr int kEmptyPanelWidth = 40;

QAction* namedAction(QObject* owner, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    return action;
}

}  // namespace

frmMain::frmMain(Session& session, ReportWindowFactory windows, QSettings& placementStore,
                 MessagePresenter& messages, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      windows_(std::move(windows)),
      placementStore_(placementStore),
      messages_(messages) {
    setObjectName("frmMain");
    setCentralWidget(new QMdiArea(this));
    buildMenu();
    buildStatusBar();
    setWindowTitle(QString::fromStdString(session_.caption));
    restorePlacement(placementStore_, *this);
}

void frmMain::buildMenu() {
    QMenuBar* bar = menuBar();

    QAction* sair = namedAction(this, "sair", "&Sair");
    connect(sair, &QAction::triggered, this, &QWidget::close);
    bar->addAction(sair);

    QMenu* mm = bar->addMenu("&Talvers");
    mm->setObjectName("mm");
    QAction* enc = namedAction(mm, "Enc", "&Encomendas Pendentes");
    connect(enc, &QAction::triggered, this, [this] { openReportWindow(windows_.pending); });
    QAction* encFor = namedAction(mm, "EncFor", "Encomendas/&Fornecedor");
    connect(encFor, &QAction::triggered, this, [this] { openReportWindow(windows_.supplier); });
    QAction* apr = namedAction(mm, "Apr", "&Aprovisionamento");
    connect(apr, &QAction::triggered, this, [this] { openReportWindow(windows_.provisioning); });
    mm->addActions({enc, encFor, apr});

    QAction* util = namedAction(this, "Util", "&Utilitário");
    util->setEnabled(session_.settings.utilityEnabled);
    connect(util, &QAction::triggered, this, [this] { openReportWindow(windows_.utility); });
    bar->addAction(util);

    QAction* mensagem = namedAction(this, "Mensagem", "&Mensagens");
    mensagem->setEnabled(false);
    bar->addAction(mensagem);
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar");
    bar->setSizeGripEnabled(true);
    for (int number = 1; number <= kPanelCount; ++number) {
        // The wide panel tells where the last workbook went; a long path is cut in the middle.
        QLabel* panel = number == kWidePanel ? new ElidedLabel(bar) : new QLabel(bar);
        panel->setObjectName(QString("Panel%1").arg(number));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Empty panels stay visible as small boxes; the ones with text size to it.
        panel->setMinimumWidth(number == kWidePanel ? 0 : kEmptyPanelWidth);
        bar->addPermanentWidget(panel, number == kWidePanel ? 1 : 0);
    }
    bar->findChild<QLabel*>("Panel1")->setText("Status");
    bar->findChild<QLabel*>("Panel6")->setText("Versão: " +
                                               QString::fromStdString(session_.versionText));
}

void frmMain::openReportWindow(const ReportWindowMaker& make) {
    if (!make) return;
    // An exception must not cross Qt's event loop; a window that cannot load is reported.
    try {
        const std::unique_ptr<QDialog> window =
            make([this](const std::string& fileName) { showSavedFile(fileName); });
        window->exec();
    } catch (const DatabaseError& e) {
        showFailure(messages_, e);
    }
}

void frmMain::showSavedFile(const std::string& fileName) {
    auto* panel = statusBar()->findChild<ElidedLabel*>(QString("Panel%1").arg(kWidePanel));
    panel->setFullText("Gravado: " + QDir::toNativeSeparators(QString::fromStdString(fileName)));
}

void frmMain::closeEvent(QCloseEvent* event) {
    savePlacement(placementStore_, *this);
    QMainWindow::closeEvent(event);
}

}  // namespace talvers
