#pragma once
// Where the settings file lives.
//
// The base folder is the environment's TALVERS_BASE when set; otherwise, on Windows,
// %PROGRAMDATA% (the machine-wide data folder: one settings file serves every user of the
// desktop, as the maker's folder always did), and elsewhere $XDG_CONFIG_HOME, or ~/.config
// when that is unset (the user's configuration folder, the usual place on a Linux desktop).
// An unset or relative variable is ignored; with no usable base the base is empty.
// The settings file is named by the command-line text, "Talvers.qor" when it is empty; the
// text names a file inside the settings folder, and a full path is used as it is (gluing it
// to the folder gave a path that cannot exist). The user's folder, base/"kelmar", is looked
// in first and is where the configuration is saved; the program's own folder is only a
// fallback for reading, where a file is already there (on an installed system it is never
// writable). See locateSettingsFile().
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace talvers {

// Reads one environment variable; nullopt when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment.
std::optional<std::string> processEnvironment(const char* name);

// The base folder as described above; empty when there is none.
std::filesystem::path baseFolder(const EnvironmentLookup& env = processEnvironment);

// The settings file for the command-line text inside `folder` (see above).
std::filesystem::path settingsFilePath(const std::filesystem::path& folder,
                                       std::string_view commandLineText);

// Where the settings are read from, and where the configuration step writes them.
struct SettingsLocation {
    std::filesystem::path file;
    std::filesystem::path saveFile;  // `file`, unless that is the program folder's
    bool operator==(const SettingsLocation&) const = default;
};

// For the command-line text: base/kelmar/<name> when that exists; else the program folder's
// <name> when that exists (read there, saved to base/kelmar/<name>); else base/kelmar/<name>,
// which the configuration step creates. Without a base folder: the program folder's, for
// both. A full path is both.
SettingsLocation locateSettingsFile(std::string_view commandLineText,
                                    const std::filesystem::path& programFolder,
                                    const EnvironmentLookup& env = processEnvironment);

// Creates the folder `file` goes in, and any missing folder above it, for the user alone
// (mode 0700 where the system has modes); an existing folder is left as it is. Throws
// SettingsError (Unreadable) naming the folder when it cannot be created.
void createSettingsFolder(const std::filesystem::path& file);

// The folder of the running executable (the current folder if the system cannot tell).
std::filesystem::path executableFolder();

// A path as UTF-8 text, for messages.
std::string pathText(const std::filesystem::path& path);

}  // namespace talvers
