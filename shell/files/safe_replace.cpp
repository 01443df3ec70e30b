#include "shell/files/safe_replace.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "shell/files/file_error.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxLinkHops = 40;  // as the system's own limit on symbolic links in a path
constexpr mode_t kPrivate = S_IRUSR | S_IWUSR;
constexpr mode_t kEveryWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;

std::string utf8Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string temporaryPrefix(const fs::path& real) {
    return "." + utf8Text(real.filename()) + ".tmp-";
}

}  // namespace

SafeReplace::SafeReplace(const std::string& fileName, const std::vector<fs::path>& protectedFiles)
    : fileName_(fileName) {
    resolveTarget();
    refuseWhatIsNotOurs(protectedFiles);
    try {
        createTemporary();
    } catch (...) {
        discard();
        throw;
    }
}

SafeReplace::~SafeReplace() {
    discard();
}

void SafeReplace::discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!committed_ && !temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}

void SafeReplace::fail(const std::string& reason, int errorNumber) const {
    throw FileError(errorNumber,
                    "Não foi possível gravar o ficheiro '" + fileName_ + "': " + reason);
}

// Follows symbolic links one by one (a dangling one names the file to create), so that the
// temporary file lands beside the file that is really replaced.
void SafeReplace::resolveTarget() {
    real_ = fs::path(std::u8string(fileName_.begin(), fileName_.end()));
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (lstat(real_.c_str(), &info) != 0) {
            // A missing file is simply new; a missing or odd folder is told below.
            if (errno != ENOENT && errno != ENOTDIR) fail(fileErrorReason(errno), errno);
            break;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists_ = true;
            owner_ = info.st_uid;
            group_ = info.st_gid;
            mode_ = info.st_mode;
            break;
        }
        if (hops == kMaxLinkHops) fail("demasiadas ligações simbólicas encadeadas", ELOOP);
        std::error_code ec;
        const fs::path link = fs::read_symlink(real_, ec);
        if (ec) fail(fileErrorReason(ec.value()), ec.value());
        real_ = link.is_absolute() ? link : real_.parent_path() / link;
    }
    folder_ = real_.parent_path();
    if (folder_.empty()) folder_ = ".";

    struct stat folder {};
    if (stat(folder_.c_str(), &folder) != 0) {
        fail(folderErrorReason(errno), errno);
    }
    if (!S_ISDIR(folder.st_mode)) fail(folderErrorReason(ENOTDIR), ENOTDIR);
}

void SafeReplace::refuseWhatIsNotOurs(const std::vector<fs::path>& protectedFiles) {
    if (!exists_) return;
    if (S_ISDIR(mode_)) fail("existe uma pasta com esse nome", EISDIR);
    if (!S_ISREG(mode_)) {
        fail("não é um ficheiro normal (é um dispositivo, um FIFO ou um socket)", EINVAL);
    }
    struct stat target {};
    if (stat(real_.c_str(), &target) != 0) fail(fileErrorReason(errno), errno);
    for (const fs::path& file : protectedFiles) {
        struct stat other {};
        if (stat(file.c_str(), &other) == 0 && other.st_dev == target.st_dev &&
            other.st_ino == target.st_ino) {
            fail(
                "é um ficheiro que o programa está a usar (base de dados ou definições) e não "
                "pode ser substituído",
                EPERM);
        }
    }
    if ((mode_ & kEveryWrite) == 0 || access(real_.c_str(), W_OK) != 0) {
        fail("o ficheiro é só de leitura", EACCES);
    }
    if (target.st_nlink > 1) {
        fail(
            "o ficheiro tem outros nomes (ligações físicas), que ficariam com o conteúdo "
            "antigo; escolha outro nome",
            EMLINK);
    }
}

void SafeReplace::createTemporary() {
    std::random_device random;
    const std::string prefix = temporaryPrefix(real_);
    for (;;) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        temporary_ = folder_ / (prefix + suffix);
        // Created as any new file would be, to learn that mode, then private until commit.
        fd_ = open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) break;
        if (errno == EEXIST) continue;
        const int error = errno;
        temporary_.clear();
        // The folder exists (checked above): a refusal to create means it takes no new files.
        fail(error == ENOENT ? "a pasta não permite criar ficheiros" : folderErrorReason(error),
             error);
    }
    struct stat created {};
    if (fstat(fd_, &created) != 0 || fchmod(fd_, kPrivate) != 0)
        fail(fileErrorReason(errno), errno);
    if (!exists_) mode_ = created.st_mode;
    // Marks the file as in use, so that another run's clean-up leaves it alone.
    flock(fd_, LOCK_EX);
}

void SafeReplace::keepOwnerAndMode() {
    struct stat info {};
    if (fstat(fd_, &info) != 0) fail(fileErrorReason(errno), errno);
    // Only the super-user may give a file away; elsewhere the owner stays ours, as a
    // write by another user would leave it anyway. Changing owners clears set-id bits, so
    // the mode is set after.
    if (exists_ && (info.st_uid != owner_ || info.st_gid != group_)) {
        (void)fchown(fd_, owner_, group_);
    }
    if (fchmod(fd_, mode_ & kPermissionBits) != 0) fail(fileErrorReason(errno), errno);
}

void SafeReplace::commit() {
    keepOwnerAndMode();
    if (fsync(fd_) != 0) fail(fileErrorReason(errno), errno);
    if (rename(temporary_.c_str(), real_.c_str()) != 0) fail(fileErrorReason(errno), errno);
    committed_ = true;
    flushFolder();
    removeStaleTemporaries();
}

void SafeReplace::flushFolder() {
    const int folder = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;  // the rename is done; a folder we cannot open we cannot flush
    const int result = fsync(folder);
    const int error = errno;
    close(folder);
    // Some file systems cannot flush a folder at all (EINVAL); that is no failure.
    if (result != 0 && error != EINVAL) {
        fail("o ficheiro foi substituído, mas a pasta não ficou gravada no disco: " +
                 fileErrorReason(error),
             error);
    }
}

// Removes ".NAME.tmp-XXXXXXXX" regular files that no run holds locked: what a killed run
// left. Anything else, and any file that cannot be checked, stays.
void SafeReplace::removeStaleTemporaries() const {
    const std::string prefix = temporaryPrefix(real_);
    std::error_code ec;
    for (fs::directory_iterator entry(folder_, ec), end; !ec && entry != end; entry.increment(ec)) {
        const std::string name = utf8Text(entry->path().filename());
        if (name.size() != prefix.size() + 8 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.find_first_not_of("0123456789abcdef", prefix.size()) != std::string::npos) {
            continue;
        }
        const int fd = open(entry->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(entry->path().c_str());
        }
        close(fd);
    }
}

}  // namespace talvers
