#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "shell/files/append_file.h"
#include "shell/files/file_error.h"
#include "shell/files/file_identity.h"
#include "shell/files/write_target_posix.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

[[noreturn]] void refuse(int error) {
    throw FileError(error, error == ENXIO ? kNotARegularFile : fileErrorReason(error));
}

}  // namespace

AppendFile::AppendFile(const std::filesystem::path& file,
                       const std::vector<std::filesystem::path>& protectedFiles) {
    // Links are followed only where they cannot be another user's trap.
    const WriteTarget target = findWriteTarget(utf8FromPath(file));
    // Refused by name before anything is made: a missing journal of the database stays missing.
    if (namesOneOf(fileIdentity(*target.folder), target.leaf, protectedFiles)) {
        throw FileError(EPERM, kProgramsOwnFileForLog);
    }
    // Non-blocking: a FIFO without a reader answers at once (ENXIO) instead of waiting for
    // one; O_NOCTTY keeps a terminal from becoming the program's own; O_NOFOLLOW refuses a link
    // put in the name's place since it was looked at.
    const int fd = openat(static_cast<int>(target.folder->native()), target.leaf.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW |
                              O_CLOEXEC,
                          0666);
    if (fd < 0) refuse(errno);
    file_ = std::make_unique<OpenFile>(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) refuse(errno);
    if (S_ISDIR(info.st_mode)) refuse(EISDIR);
    if (!S_ISREG(info.st_mode)) throw FileError(EINVAL, kNotARegularFile);
    // A file another user made in that name since it was looked at.
    refuseOthersFileInStickyFolder(target, info);
    if (isOneOf(fileIdentity(*file_), protectedFiles)) {
        throw FileError(EPERM, kProgramsOwnFileForLog);
    }
    // Writes to a regular file never wait; the flag only mattered while opening.
    if (fcntl(fd, F_SETFL, O_WRONLY | O_APPEND) != 0) refuse(errno);
}

void AppendFile::append(std::string_view bytes) {
    file_->writeAll(bytes);
}

}  // namespace talvers
