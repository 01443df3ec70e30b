#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "shell/files/file_error.h"
#include "shell/files/open_file.h"

namespace talvers {
namespace {

[[noreturn]] void failWith(int error) {
    throw FileError(error, fileErrorReason(error));
}

int fd(OpenFile::Native native) {
    return static_cast<int>(native);
}

}  // namespace

OpenFile::~OpenFile() {
    close(fd(native_));
}

std::uint64_t OpenFile::size() {
    struct stat info {};
    if (fstat(fd(native_), &info) != 0) failWith(errno);
    return static_cast<std::uint64_t>(info.st_size);
}

void OpenFile::readAt(std::uint64_t offset, unsigned char* into, std::size_t count) {
    while (count > 0) {
        const ssize_t got = pread(fd(native_), into, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failWith(errno);
        if (got == 0) throw FileError(EIO, "o ficheiro está cortado");
        into += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
}

void OpenFile::writeAll(std::string_view bytes) {
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t put = write(fd(native_), at, left);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) failWith(errno);
        // A write that takes nothing and says nothing has no room left.
        if (put == 0) failWith(ENOSPC);
        at += put;
        left -= static_cast<std::size_t>(put);
    }
}

void OpenFile::sync() {
    if (fsync(fd(native_)) != 0) failWith(errno);
}

std::unique_ptr<OpenFile> OpenFile::reopenForReading() const {
    const std::string self = "/proc/self/fd/" + std::to_string(fd(native_));
    const int opened = open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (opened < 0) failWith(errno);
    return std::make_unique<OpenFile>(opened);
}

bool OpenFile::atSizeLimit() {
    struct rlimit limit {};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return false;
    // Buffered writers stop short of the limit by less than one buffer.
    constexpr std::uint64_t kBuffer = 1 << 16;
    return size() + kBuffer >= limit.rlim_cur;
}

std::unique_ptr<OpenFile> openFileForReading(const std::filesystem::path& file) {
    const int opened = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (opened < 0) failWith(errno);
    return std::make_unique<OpenFile>(opened);
}

}  // namespace talvers
