#pragma once
// Where the settings file lives.
//
// The base folder is the environment's TALVERS_BASE when set (an absolute folder), otherwise
// the user's own configuration folder (settings_places.h: ~/.config on Linux, %APPDATA% on
// Windows). The settings file is named by the command-line text, "Talvers.qor" when it is
// empty; the text names a file inside the settings folder, and a full path is used as it is
// (gluing it to the folder gave a path that cannot exist). The user's folder, base/"kelmar",
// is looked in first and is where the configuration is saved. When the user has no file
// there, the machine-wide folder's kelmar/<name> (Windows' %PROGRAMDATA%, configured once by
// an administrator for every user), then the program's own folder are read where a file is
// already there; the configuration is still saved to the user's folder (an installed
// program's folder and the machine's are not the user's to write). See locateSettingsFile().
#include <filesystem>
#include <string>
#include <string_view>

#include "shell/settings/settings_places.h"

namespace talvers {

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

// For the command-line text: base/kelmar/<name> when that exists; else the machine-wide
// folder's kelmar/<name>, then the program folder's <name>, the first that exists (read there,
// saved to base/kelmar/<name>); else base/kelmar/<name>, which the configuration step creates.
// Without a base folder: the program folder's, for both. A full path is both.
SettingsLocation locateSettingsFile(std::string_view commandLineText,
                                    const std::filesystem::path& programFolder,
                                    const EnvironmentLookup& env = processEnvironment);

// Creates the folder `file` goes in, and any missing folder above it, for the user alone
// (makeOwnerOnlyFolder); an existing folder is left as it is. Throws
// SettingsError (Unreadable) naming the folder when it cannot be created.
void createSettingsFolder(const std::filesystem::path& file);

// The folder of the running executable (the current folder if the system cannot tell).
std::filesystem::path executableFolder();

// A path as UTF-8 text, for messages.
std::string pathText(const std::filesystem::path& path);

}  // namespace talvers
