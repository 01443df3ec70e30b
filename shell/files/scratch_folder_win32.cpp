#include <windows.h>

#include "shell/files/scratch_folder.h"

namespace talvers {

// The user's temporary folder (%TMP%, %TEMP%, else the profile's), as Windows gives it.
std::filesystem::path systemTemporaryFolder() {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::filesystem::path(L".");
    return std::filesystem::path(folder, folder + length);
}

}  // namespace talvers
