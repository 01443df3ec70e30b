#include <windows.h>

#include "shell/files/open_folder.h"
#include "shell/files/windows_file_error.h"
#include "shell/files/windows_paths.h"

namespace talvers {
namespace {

// Held without FILE_SHARE_DELETE: while the program has the folder open nobody can rename,
// move or remove it, so its path keeps naming the folder that was opened and checked — the
// Windows counterpart of working through a descriptor.
OpenFolder::Native openFolder(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(L".") : folder;
    const HANDLE opened = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw windowsFolderError(GetLastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CloseHandle(opened);
        throw windowsFolderError(ERROR_DIRECTORY);
    }
    return reinterpret_cast<OpenFolder::Native>(opened);
}

}  // namespace

OpenFolder::OpenFolder(const std::filesystem::path& folder) : native_(openFolder(folder)) {}

OpenFolder::OpenFolder(const OpenFolder& base, const std::filesystem::path& folder)
    : native_(openFolder(folder.is_absolute() ? folder : pathOfHandle(base.native()) / folder)) {}

OpenFolder::~OpenFolder() {
    CloseHandle(reinterpret_cast<HANDLE>(native_));
}

// A rename on Windows is recorded in the file system's journal with the file; there is no
// separate flush of a folder's entries to ask for.
void OpenFolder::sync() const {}

}  // namespace talvers
