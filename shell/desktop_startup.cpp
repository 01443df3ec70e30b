#include "shell/desktop_startup.h"

#include "shell/dataaccess/database_error.h"
#include "shell/settings_error.h"

namespace talvers {
namespace {

constexpr int kFailed = 1;

DesktopStart failed(MessagePresenter& messages, std::string_view text) {
    showMessage(messages, "", text, 2);
    return {std::nullopt, kFailed};
}

}  // namespace

DesktopStart startDesktopSession(const std::filesystem::path& settingsFile,
                                 const DesktopStartupSteps& steps) {
    MessagePresenter& messages = *steps.messages;
    std::error_code ec;
    const bool firstRun = !std::filesystem::exists(settingsFile, ec);
    AppSettings settings;
    try {
        if (!firstRun) settings = readAppSettings(settingsFile);
        if (firstRun || !missingKeys(settings).empty()) {
            if (!steps.configure(settingsFile, settings)) return {std::nullopt, 0};
            settings = readAppSettings(settingsFile);
        }
    } catch (const SettingsError& e) {
        return failed(messages, e.description());
    }
    const std::vector<std::string> missing = missingKeys(settings);
    if (!missing.empty()) {
        std::string text = "Faltam valores no ficheiro de configuração:";
        for (const std::string& key : missing) text += "\n" + key;
        return failed(messages, text);
    }
    try {
        return {startUp(settings, steps.opener), 0};
    } catch (const DatabaseError& e) {
        return failed(messages, startupFailureText(e.description(), e.number()));
    }
}

}  // namespace talvers
