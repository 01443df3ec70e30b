#pragma once
// The desktop program's way from its settings file to an open session, before the main
// window exists:
//   1. Read the settings file (location.file). A file that does not exist yet goes to the
//      configuration step (the first run creates it); any other SettingsError is shown and
//      the run ends with exit code 1.
//   2. When a value the chosen engine needs is empty, run the configuration step with the
//      file's values as written (relative SQLite files unresolved). Cancelling says that the
//      program cannot start without a complete configuration and ends the run with exit code
//      0; otherwise the file is read again, and if it is still incomplete the missing keys
//      are shown and the run ends with 1.
//   3. startUp(). A DatabaseError (a database missing or not one, a login refused, a server
//      out of reach or past its deadline, a failing company query: all of them things the
//      settings name) is shown as startupFailureText(description, number), the engine's own
//      text as the box's details, with the question whether to review the configuration. Yes
//      runs the configuration step and, when it saved, starts again from the saved file; No,
//      or Cancel in that step, ends the run with 1.
// The configuration step always writes location.saveFile, the user's own file even when the
// settings were read from the program folder's. Messages go through the presenter; the
// configuration step and the opener are injected so the flow is tested without dialogs or
// servers.
#include <filesystem>
#include <functional>
#include <optional>

#include "shell/messages/messages.h"
#include "shell/settings/app_settings.h"
#include "shell/settings/settings_folder.h"
#include "shell/startup.h"

namespace talvers {

// Shows the configuration step for `file`, prefilled with `current`; true when it wrote the
// file, false when the user cancelled.
using ConfigurationStep =
    std::function<bool(const std::filesystem::path& file, const AppSettings& current)>;

struct DesktopStartupSteps {
    MessagePresenter* messages = nullptr;  // required
    ConfigurationStep configure;           // required
    ConnectionOpener opener = openConnection;
};

struct DesktopStart {
    std::optional<Session> session;  // set when the program goes on to its main window
    int exitCode = 0;                // the program's exit code when it does not
};

// The question added to a start-up failure.
inline constexpr std::string_view kReviewConfigurationQuestion =
    "Quer rever a configuração e tentar de novo?";

DesktopStart startDesktopSession(const SettingsLocation& location,
                                 const DesktopStartupSteps& steps);

}  // namespace talvers
