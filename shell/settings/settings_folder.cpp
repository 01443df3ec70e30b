#include "shell/settings/settings_folder.h"

#include <vector>

#include "shell/platform/utf8_path.h"
#include "shell/settings/settings_error.h"

namespace talvers {
namespace {

constexpr const char* kMakerFolder = "kelmar";
constexpr const char* kDefaultFileName = "Talvers.qor";

}  // namespace

std::filesystem::path baseFolder(const EnvironmentLookup& env) {
    if (auto base = absoluteFolder(env, "TALVERS_BASE")) return *base;
    return userConfigurationFolder(env).value_or(std::filesystem::path());
}

SettingsLocation locateSettingsFile(std::string_view commandLineText,
                                    const std::filesystem::path& programFolder,
                                    const EnvironmentLookup& env) {
    const std::filesystem::path base = baseFolder(env);
    const std::filesystem::path programFile = settingsFilePath(programFolder, commandLineText);
    if (base.empty()) return {programFile, programFile};
    const std::filesystem::path userFile = settingsFilePath(base / kMakerFolder, commandLineText);
    std::error_code ec;
    if (std::filesystem::exists(userFile, ec)) return {userFile, userFile};
    std::vector<std::filesystem::path> readOnly;
    if (const auto machine = machineConfigurationFolder(env)) {
        readOnly.push_back(settingsFilePath(*machine / kMakerFolder, commandLineText));
    }
    readOnly.push_back(programFile);
    for (const std::filesystem::path& file : readOnly) {
        if (file != userFile && std::filesystem::exists(file, ec)) return {file, userFile};
    }
    return {userFile, userFile};
}

void createSettingsFolder(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(folder, ec)) return;
    // Top-down, so that every folder made here is made private from its first moment.
    std::vector<std::filesystem::path> missing;
    for (std::filesystem::path p = folder; !p.empty() && !std::filesystem::exists(p, ec);
         p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (const std::optional<FileError> failure = makeOwnerOnlyFolder(*it)) {
            throw SettingsError(SettingsErrorNumber::Unreadable,
                                "Não foi possível criar a pasta de configuração \"" +
                                    pathText(*it) + "\" (" + failure->description() + ").");
        }
    }
}

std::filesystem::path settingsFilePath(const std::filesystem::path& folder,
                                       std::string_view commandLineText) {
    if (commandLineText.empty()) return folder / kDefaultFileName;
    const std::filesystem::path named = pathFromUtf8(commandLineText);
    return named.is_absolute() ? named : folder / named;
}

std::filesystem::path executableFolder() {
    if (auto folder = runningProgramFolder()) return *folder;
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

std::string pathText(const std::filesystem::path& path) {
    // Not the generic form: a Windows user reads C:\ProgramData\kelmar.
    return utf8FromPath(path);
}

}  // namespace talvers
