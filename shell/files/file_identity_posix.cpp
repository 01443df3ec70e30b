#include <sys/stat.h>

#include <cerrno>

#include "shell/files/file_error.h"
#include "shell/files/file_identity.h"

namespace talvers {
namespace {

FileIdentity identityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return identityOf(info);
}

FileIdentity fileIdentity(const OpenFile& file) {
    struct stat info {};
    if (fstat(static_cast<int>(file.native()), &info) != 0) {
        throw FileError(errno, fileErrorReason(errno));
    }
    return identityOf(info);
}

FileIdentity fileIdentity(const OpenFolder& folder) {
    struct stat info {};
    if (fstat(static_cast<int>(folder.native()), &info) != 0) {
        throw FileError(errno, fileErrorReason(errno));
    }
    return identityOf(info);
}

}  // namespace talvers
