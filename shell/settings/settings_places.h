#pragma once
// Where each system keeps settings, and how it makes a folder its user's alone: the one part
// of finding the settings file that differs between systems (settings_places_posix.cpp,
// settings_places_win32.cpp).
//
// The user's own folder is $XDG_CONFIG_HOME, or ~/.config when that is unset, on POSIX, and
// %APPDATA% (the user's roaming application data) on Windows: the settings file holds a
// password, so it is never shared between users. A machine-wide folder, read only when the
// user has no settings of their own, exists on Windows alone: %PROGRAMDATA%, where an
// administrator configures every desktop once. An unset, empty or relative variable is
// ignored.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "shell/files/file_error.h"

namespace talvers {

// Reads one environment variable; nullopt when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment, as UTF-8 (on Windows the wide environment, converted exactly).
std::optional<std::string> processEnvironment(const char* name);

// The variable `name` as an absolute folder; nullopt when it is unset, empty or relative.
std::optional<std::filesystem::path> absoluteFolder(const EnvironmentLookup& env, const char* name);

// The user's own configuration folder, as described above.
std::optional<std::filesystem::path> userConfigurationFolder(const EnvironmentLookup& env);

// The machine-wide configuration folder, as described above.
std::optional<std::filesystem::path> machineConfigurationFolder(const EnvironmentLookup& env);

// The folder of the running executable; nullopt when the system cannot tell.
std::optional<std::filesystem::path> runningProgramFolder();

// Creates the one folder `folder` for its user alone (mode 0700; on Windows an access list
// that lets its owner alone in, inherited by what is made inside). Nothing when it was made
// or already exists, else why not (the reason the files' own failures give).
std::optional<FileError> makeOwnerOnlyFolder(const std::filesystem::path& folder);

}  // namespace talvers
