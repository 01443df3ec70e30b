#include <windows.h>

#include "shell/files/file_identity.h"
#include "shell/files/windows_file_error.h"

namespace talvers {
namespace {

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    // Opened for its attributes only (links followed): no read, no lock on it.
    const HANDLE opened = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(opened, &info);
    CloseHandle(opened);
    if (!known) return std::nullopt;
    return identityOf(info);
}

namespace {

FileIdentity identityOfHandle(std::intptr_t native) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(reinterpret_cast<HANDLE>(native), &info)) {
        throw windowsFileError(GetLastError());
    }
    return identityOf(info);
}

}  // namespace

FileIdentity fileIdentity(const OpenFile& file) {
    return identityOfHandle(file.native());
}

FileIdentity fileIdentity(const OpenFolder& folder) {
    return identityOfHandle(folder.native());
}

}  // namespace talvers
