#include "shell/settings/settings_folder.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
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

std::filesystem::path settingsFolder(const std::filesystem::path& programFolder,
                                     const EnvironmentLookup& env) {
    const std::filesystem::path base = baseFolder(env);
    if (!base.empty()) {
        std::error_code ec;
        const std::filesystem::path maker = base / kMakerFolder;
        if (std::filesystem::is_directory(maker, ec)) return maker;
    }
    return programFolder;
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
