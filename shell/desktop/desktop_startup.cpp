#include "shell/desktop/desktop_startup.h"

#include "shell/dataaccess/database_error.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_file.h"

namespace talvers {
namespace {

constexpr int kFailed = 1;

constexpr std::string_view kConfigurationCancelled =
    "O Talvers não pode iniciar sem uma configuração completa.\n"
    "Volte a abrir o programa para concluir a configuração.";

// The values as the file holds them, for the configuration step to show and write back: a
// SQLite file given relative to the settings folder stays relative.
AppSettings settingsAsWritten(const std::filesystem::path& file) {
    return appSettingsFrom(SettingsFile::load(file), std::filesystem::path());
}

DesktopStart failed(MessagePresenter& messages, std::string_view text,
                    std::string_view details = {}) {
    showMessage(messages, "", text, 2, details);
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
            const AppSettings shown = firstRun ? settings : settingsAsWritten(settingsFile);
            if (!steps.configure(settingsFile, shown)) {
                showMessage(messages, "", kConfigurationCancelled, 2);
                return {std::nullopt, 0};
            }
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
        return failed(messages, startupFailureText(e.description(), e.number()), e.details());
    }
}

}  // namespace talvers
