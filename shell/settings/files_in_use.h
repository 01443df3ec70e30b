#pragma once
// The files a session works on that no output may replace: the settings file and, for a
// SQLite connection, its database file with the journal files SQLite keeps beside it.
#include <filesystem>
#include <vector>

#include "shell/settings/app_settings.h"

namespace talvers {

std::vector<std::filesystem::path> filesInUse(const AppSettings& settings);

}  // namespace talvers
