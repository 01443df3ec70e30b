// The desktop program: settings, start-up, then the main window until it closes.
#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QStringList>

#include <clocale>

#include "apps/desktop/desktop_report_windows.h"
#include "apps/erp_session_of.h"
#include "shell/desktop/configuration_dialog.h"
#include "shell/desktop/desktop_language.h"
#include "shell/desktop/desktop_startup.h"
#include "shell/desktop/frm_main.h"
#include "shell/desktop/qt_message_presenter.h"
#include "shell/settings/files_in_use.h"
#include "shell/settings/settings_folder.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Talvers");
    QApplication::setOrganizationName("Talvers");
    // ODBC converts text through the environment's locale; numbers written into workbooks
    // need "C" (Qt has just taken the whole locale from the environment).
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");

    // Everything the program says is European Portuguese; so do Qt's own buttons, file dialog
    // and calendars, whatever the system's language.
    talvers::useEuropeanPortuguese(app);
    QApplication::setWindowIcon(QIcon(":/talvers.svg"));

    using namespace talvers;
    // The whole command-line text names the settings file (Qt has taken its own options out).
    const QString commandLine = QApplication::arguments().mid(1).join(' ');
    const auto settingsFile =
        settingsFilePath(settingsFolder(executableFolder()), commandLine.toStdString());

    QtMessagePresenter messages;
    DesktopStartupSteps steps;
    steps.messages = &messages;
    steps.configure = [&messages](const std::filesystem::path& file, const AppSettings& current) {
        ConfigurationDialog dialog(file, current, messages);
        return dialog.exec() == QDialog::Accepted;
    };
    DesktopStart start = startDesktopSession(settingsFile, steps);
    if (!start.session) return start.exitCode;

    // The main window's placement and the save dialog's last folder, per user.
    QSettings placementStore;
    ReportWindowServices services;
    services.messages = &messages;
    services.protectedFiles = filesInUse(start.session->settings);
    services.company = companyName(start.session->caption);
    services.store = &placementStore;
    frmMain window(*start.session, desktopReportWindows(erpSessionOf(*start.session), services),
                   placementStore, messages);
    window.show();
    return QApplication::exec();
}
