#include "apps/command_session.h"

#include "apps/report_command.h"
#include "shell/dataaccess/database_error.h"
#include "shell/platform/utf8_path.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_folder.h"

namespace talvers {
namespace {

AppSettings completeSettings(const CommandOptions& options) {
    const std::optional<std::string> given = options.value("--settings");
    const std::filesystem::path file =
        given ? pathFromUtf8(*given) : locateSettingsFile("", executableFolder()).file;
    std::error_code ec;
    if (!given && !std::filesystem::exists(file, ec)) {
        throw SettingsError(SettingsErrorNumber::Unreadable,
                            "O ficheiro de definições \"" + pathText(file) +
                                "\" não existe: grave a configuração com o programa talvers, "
                                "ou indique outro ficheiro com --settings.");
    }
    AppSettings settings = readAppSettings(file);
    const std::vector<std::string> missing = missingKeys(settings);
    if (!missing.empty()) {
        std::string keys;
        for (const std::string& key : missing) keys += (keys.empty() ? "" : ", ") + key;
        throw SettingsError(SettingsErrorNumber::Incomplete,
                            "As definições em \"" + pathText(settings.file) +
                                "\" estão incompletas; falta: " + keys + ".");
    }
    return settings;
}

}  // namespace

Session openCommandSession(const CommandOptions& options) {
    try {
        std::vector<std::filesystem::path> outputs;
        if (const auto output = options.value("--output")) outputs.push_back(pathFromUtf8(*output));
        return startUp(completeSettings(options), openConnection, outputs);
    } catch (const NumberedError& e) {
        throw CommandFailure(startupFailureText(e.description(), e.number()), e.details());
    }
}

}  // namespace talvers
