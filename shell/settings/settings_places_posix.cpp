#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "shell/settings/settings_places.h"

namespace talvers {

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::filesystem::path> userConfigurationFolder(const EnvironmentLookup& env) {
    if (auto config = absoluteFolder(env, "XDG_CONFIG_HOME")) return config;
    if (auto home = absoluteFolder(env, "HOME")) return *home / ".config";
    return std::nullopt;
}

std::optional<std::filesystem::path> machineConfigurationFolder(const EnvironmentLookup&) {
    return std::nullopt;
}

std::optional<std::filesystem::path> runningProgramFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    return self.parent_path();
}

std::optional<FileError> makeOwnerOnlyFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return std::nullopt;
    const int error = errno;
    return FileError(error, folderErrorReason(error));
}

}  // namespace talvers
