#pragma once
// Where the settings file lives.
//
// The base folder is the environment's TALVERS_BASE when set; otherwise, on Windows,
// %PROGRAMDATA% (the machine-wide data folder: one settings file serves every user of the
// desktop, as the maker's folder always did), and elsewhere $XDG_CONFIG_HOME, or ~/.config
// when that is unset (the user's configuration folder, the usual place on a Linux desktop).
// An unset or relative variable is ignored; with no usable base the base is empty.
// The settings folder is base/"kelmar" when that folder exists, else the program's own
// folder. The settings file is the settings folder / the command-line text, or
// "Talvers.qor" when the text is empty. The text names a file inside that folder; a full
// path there is used as it is (gluing it to the folder gave a path that cannot exist).
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

// base/"kelmar" when it is an existing folder, else `programFolder`.
std::filesystem::path settingsFolder(const std::filesystem::path& programFolder,
                                     const EnvironmentLookup& env = processEnvironment);

// The settings file for the command-line text (see above).
std::filesystem::path settingsFilePath(const std::filesystem::path& folder,
                                       std::string_view commandLineText);

// The folder of the running executable (the current folder if the system cannot tell).
std::filesystem::path executableFolder();

// A path as UTF-8 text, for messages.
std::string pathText(const std::filesystem::path& path);

}  // namespace talvers
