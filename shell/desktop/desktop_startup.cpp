#include "shell/desktop/desktop_startup.h"

#include "shell/dataaccess/database_error.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_file.h"

namespace talvers {
namespace {

constexpr int kFailed = 1;
constexpr std::int16_t kInformation = 2;
constexpr std::int16_t kYesNo = 4;

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
    showMessage(messages, "", text, kInformation, details);
    return {std::nullopt, kFailed};
}

// Steps 1 and 2: complete settings, read from `file`, which becomes the file they were read
// from; nullopt with `outcome` set when the run ends here.
std::optional<AppSettings> completeSettings(std::filesystem::path& file,
                                            const SettingsLocation& location,
                                            const DesktopStartupSteps& steps,
                                            DesktopStart& outcome) {
    MessagePresenter& messages = *steps.messages;
    std::error_code ec;
    const bool firstRun = !std::filesystem::exists(file, ec);
    AppSettings settings;
    try {
        if (!firstRun) settings = readAppSettings(file);
        if (firstRun || !missingKeys(settings).empty()) {
            const AppSettings shown = firstRun ? settings : settingsAsWritten(file);
            if (!steps.configure(location.saveFile, shown)) {
                showMessage(messages, "", kConfigurationCancelled, kInformation);
                outcome = {std::nullopt, 0};
                return std::nullopt;
            }
            file = location.saveFile;
            settings = readAppSettings(file);
        }
    } catch (const SettingsError& e) {
        outcome = failed(messages, e.description());
        return std::nullopt;
    }
    const std::vector<std::string> missing = missingKeys(settings);
    if (!missing.empty()) {
        std::string text = "Faltam valores no ficheiro de configuração:";
        for (const std::string& key : missing) text += "\n" + key;
        outcome = failed(messages, text);
        return std::nullopt;
    }
    return settings;
}

}  // namespace

DesktopStart startDesktopSession(const SettingsLocation& location,
                                 const DesktopStartupSteps& steps) {
    MessagePresenter& messages = *steps.messages;
    std::filesystem::path file = location.file;
    DesktopStart outcome;
    std::optional<AppSettings> settings = completeSettings(file, location, steps, outcome);
    while (settings) {
        try {
            return {startUp(*settings, steps.opener), 0};
        } catch (const DatabaseError& e) {
            const std::string text = startupFailureText(e.description(), e.number()) + "\n\n" +
                                     std::string(kReviewConfigurationQuestion);
            if (showMessage(messages, "", text, kYesNo, e.details()) !=
                static_cast<int>(MessageResult::Yes)) {
                return {std::nullopt, kFailed};
            }
        }
        try {
            if (!steps.configure(location.saveFile, settingsAsWritten(file))) {
                return {std::nullopt, kFailed};
            }
        } catch (const SettingsError& e) {
            return failed(messages, e.description());
        }
        file = location.saveFile;
        settings = completeSettings(file, location, steps, outcome);
    }
    return outcome;
}

}  // namespace talvers
