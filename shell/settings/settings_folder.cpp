#include "shell/settings/settings_folder.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "shell/settings/settings_error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

constexpr const char* kMakerFolder = "kelmar";
constexpr const char* kDefaultFileName = "Talvers.qor";

// An absolute folder out of `name`, or nullopt when it is unset, empty or relative.
std::optional<std::filesystem::path> absoluteFolder(const EnvironmentLookup& env,
                                                    const char* name) {
    const std::optional<std::string> value = env(name);
    if (!value || value->empty()) return std::nullopt;
    std::filesystem::path folder = pathFromUtf8(*value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
#ifdef _WIN32
    // The narrow environment is in the ANSI code page; the wide one converts to UTF-8 exactly.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr) return std::nullopt;
    // Through a path, which converts UTF-16 exactly and leaves the text as it is.
    return utf8FromPath(std::filesystem::path(value));
#else
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
#endif
}

std::filesystem::path baseFolder(const EnvironmentLookup& env) {
    if (auto base = absoluteFolder(env, "TALVERS_BASE")) return *base;
#ifdef _WIN32
    if (auto data = absoluteFolder(env, "PROGRAMDATA")) return *data;
#else
    if (auto config = absoluteFolder(env, "XDG_CONFIG_HOME")) return *config;
    if (auto home = absoluteFolder(env, "HOME")) return *home / ".config";
#endif
    return {};
}

SettingsLocation locateSettingsFile(std::string_view commandLineText,
                                    const std::filesystem::path& programFolder,
                                    const EnvironmentLookup& env) {
    const std::filesystem::path base = baseFolder(env);
    const std::filesystem::path programFile = settingsFilePath(programFolder, commandLineText);
    if (base.empty()) return {programFile, programFile};
    const std::filesystem::path userFile = settingsFilePath(base / kMakerFolder, commandLineText);
    std::error_code ec;
    if (userFile != programFile && !std::filesystem::exists(userFile, ec) &&
        std::filesystem::exists(programFile, ec)) {
        return {programFile, userFile};
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
#ifdef _WIN32
        const bool made = std::filesystem::create_directory(*it, ec) || !ec;
        const int error = ec.value();
#else
        const bool made = ::mkdir(it->c_str(), 0700) == 0 || errno == EEXIST;
        const int error = errno;
#endif
        if (!made) {
            throw SettingsError(SettingsErrorNumber::Unreadable,
                                "Não foi possível criar a pasta de configuração \"" +
                                    pathText(*it) + "\" (" + std::system_category().message(error) +
                                    ").");
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
    std::error_code ec;
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length > 0 && length < buffer.size()) {
        buffer.resize(length);
        return std::filesystem::path(buffer).parent_path();
    }
#else
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
#endif
    return std::filesystem::current_path(ec);
}

std::string pathText(const std::filesystem::path& path) {
    // Not the generic form: a Windows user reads C:\ProgramData\kelmar.
    return utf8FromPath(path);
}

}  // namespace talvers
