#pragma once
// frmMain: the program's main window — a multiple-document parent that never holds a
// document, with the menu that opens the report windows and a six-panel status bar.
//
// It borrows the session (both connections, caption, company variant, version, whether the
// utility is switched on) and the placement store; both must outlive it. The window is
// placed from the store when it is built and saves its placement when it closes. Each menu
// command makes a fresh window through the factory, shows it modally without an owner and
// destroys it when the user closes it, so at most one report window exists at a time. A
// window that fails to load with a DatabaseError is reported through `messages` ("Situação
// Anómala" with number and description) and the main window stays usable. After a report
// window writes a workbook, the wide status panel (5) reads "Gravado: " and the file's name.
#include <QLabel>
#include <QMainWindow>
#include <QSettings>

#include "shell/desktop/report_window_factory.h"
#include "shell/messages/messages.h"
#include "shell/startup.h"

namespace talvers {

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    frmMain(Session& session, ReportWindowFactory windows, QSettings& placementStore,
            MessagePresenter& messages, QWidget* parent = nullptr);

    Connection& bd() const { return *session_.bd; }
    Connection& bdExt() const { return *session_.bdExt; }
    bool companyVariant() const { return session_.companyVariant; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenu();
    void buildStatusBar();
    void openReportWindow(const ReportWindowMaker& make);
    void showSavedFile(const std::string& fileName);

    Session& session_;
    ReportWindowFactory windows_;
    QSettings& placementStore_;
    MessagePresenter& messages_;
};

}  // namespace talvers
