#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "shell/files/file_error.h"
#include "shell/files/open_folder.h"

namespace talvers {

namespace {

int openFolder(int base, const std::filesystem::path& folder) {
    const char* name = folder.empty() ? "." : folder.c_str();
    const int fd = openat(base, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw FileError(errno, folderErrorReason(errno));
    return fd;
}

}  // namespace

OpenFolder::OpenFolder(const std::filesystem::path& folder)
    : native_(openFolder(AT_FDCWD, folder)) {}

OpenFolder::OpenFolder(const OpenFolder& base, const std::filesystem::path& folder)
    : native_(openFolder(static_cast<int>(base.native()), folder)) {}

OpenFolder::~OpenFolder() {
    close(static_cast<int>(native_));
}

void OpenFolder::sync() const {
    if (fsync(static_cast<int>(native_)) == 0) return;
    const int error = errno;
    // Some file systems cannot flush a folder (EINVAL) and need not.
    if (error != EINVAL) throw FileError(error, fileErrorReason(error));
}

}  // namespace talvers
