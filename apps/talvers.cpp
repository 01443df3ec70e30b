// The desktop program: settings, start-up, then the main window until it closes.
#include <QApplication>
#include <QIcon>
#include <QSettings>

#include <clocale>
#include <string>
#include <vector>

#include "apps/desktop/desktop_report_windows.h"
#include "apps/desktop_program.h"
#include "apps/erp_session_of.h"
#include "shell/cli/program_run.h"
#include "shell/desktop/configuration_dialog.h"
#include "shell/desktop/desktop_language.h"
#include "shell/desktop/desktop_startup.h"
#include "shell/desktop/frm_main.h"
#include "shell/desktop/qt_message_log.h"
#include "shell/desktop/qt_message_presenter.h"
#include "shell/files/stop_signals.h"
#include "shell/platform/program_main.h"
#include "shell/settings/files_in_use.h"
#include "shell/settings/settings_folder.h"
#include "shell/startup.h"

int talvers::runProgram(const std::vector<std::string>& arguments) {
    talvers::ignoreFileSizeLimitSignal();
    // The command line is read before Qt starts, so that --help, --version and a usage error
    // answer on a terminal without a display.
    const std::vector<std::string> args(arguments.begin() + 1, arguments.end());
    if (const auto answered = talvers::answerGeneralOptions(talvers::desktopProgram(), args,
                                                            talvers::programVersionText(), false)) {
        return *answered;
    }
    std::string settingsName;
    try {
        settingsName = talvers::desktopSettingsName(args);
    } catch (const talvers::UsageError& e) {
        return talvers::reportUsageError("talvers", "talvers", e.what());
    }

    // Qt sees the program's name alone: the arguments are ours, already read.
    static std::string programName = arguments.front();
    static char* qtArguments[] = {programName.data(), nullptr};
    static int qtArgumentCount = 1;
    talvers::routeQtMessages();
    QApplication app(qtArgumentCount, qtArguments);
    QApplication::setApplicationName("Talvers");
    QApplication::setOrganizationName("Talvers");
    // ODBC converts text through the environment's locale; numbers written into workbooks
    // need "C" (Qt has just taken the whole locale from the environment).
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");

    // Everything the program says is European Portuguese; so do Qt's own buttons, file dialog
    // and calendars, whatever the system's language.
    talvers::useEuropeanPortuguese(app);
    // Drawn by Qt's SVG plug-in where it is installed; the Windows program has none and its
    // windows take the icon from its resources instead of a blank one.
    const QIcon icon(":/talvers.svg");
    if (!icon.pixmap(32).isNull()) QApplication::setWindowIcon(icon);

    using namespace talvers;
    const SettingsLocation location = locateSettingsFile(settingsName, executableFolder());

    QtMessagePresenter messages;
    DesktopStartupSteps steps;
    steps.messages = &messages;
    steps.configure = [&messages](const std::filesystem::path& file, const AppSettings& current) {
        ConfigurationDialog dialog(file, current, messages);
        return dialog.exec() == QDialog::Accepted;
    };
    DesktopStart start = startDesktopSession(location, steps);
    if (!start.session) return start.exitCode;

    // The main window's placement and the save dialog's last folder, per user.
    QSettings placementStore;
    ReportWindowServices services;
    services.messages = &messages;
    services.protectedFiles = start.session->filesInUse;
    services.company = companyName(start.session->caption);
    services.store = &placementStore;
    frmMain window(*start.session, desktopReportWindows(erpSessionOf(*start.session), services),
                   placementStore, messages);
    window.show();
    return QApplication::exec();
}
