#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "shell/files/file_error.h"
#include "shell/files/private_folder.h"
#include "shell/files/private_folder_names.h"

namespace talvers {
namespace {

[[noreturn]] void failWith(int error) {
    throw FileError(error, folderErrorReason(error));
}

int fd(std::intptr_t native) {
    return static_cast<int>(native);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The mark of a run that is no longer alive in the folder open as `folder`, open and locked by
// this run (or -1): the mark's lock was free (a live run holds it) and it says what a run
// writes there.
int lockDeadRunsMark(int folder) {
    // Opened for writing: on network file systems only a writer may take the lock.
    const int mark = openat(folder, kRunMarkName, O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (mark < 0) return -1;
    struct stat info {};
    char text[kRunMark.size() + 1];
    const bool free =
        fstat(mark, &info) == 0 && S_ISREG(info.st_mode) && flock(mark, LOCK_EX | LOCK_NB) == 0;
    const ssize_t got = free ? pread(mark, text, sizeof text, 0) : -1;
    if (got >= 0 && isWholeRunMark(std::string_view(text, static_cast<size_t>(got)))) {
        return mark;
    }
    close(mark);
    return -1;
}

// The names in the folder open as `folder` but "." and "..", or nullopt when it cannot be
// listed.
std::optional<std::vector<std::string>> entriesOf(int folder) {
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return std::nullopt;
    DIR* entries = fdopendir(listing);
    if (entries == nullptr) {
        close(listing);
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    closedir(entries);
    return names;
}

// Removes every entry of the folder open as `folder` that is neither a folder nor the mark,
// which goes last (removeMark), so that a folder whose clean-up stopped half-way is still
// recognised next time. The mark's handle is to be closed in between: a FUSE file system (FAT,
// NTFS or a share through FUSE) keeps a removed file that is still open as a hidden one, and
// the folder could not go. Its lock is not needed then: the folder's own lock is held.
bool removeAllButMark(int folder) {
    const auto names = entriesOf(folder);
    if (!names) return false;
    bool empty = true;
    for (const std::string& name : *names) {
        if (name == kRunMarkName) continue;
        // unlinkat never follows a link, and refuses a folder: nothing outside is touched.
        if (unlinkat(folder, name.c_str(), 0) != 0) empty = false;
    }
    return empty;
}

bool removeMark(int folder) {
    return unlinkat(folder, kRunMarkName, 0) == 0;
}

// Whether the folder open as `folder` holds at most a mark that was never finished: what a run
// killed while making its folder leaves (a finished mark is lockDeadRunsMark's case).
bool holdsOnlyAnUnfinishedMark(int folder) {
    const auto names = entriesOf(folder);
    if (!names || names->size() > 1 || (names->size() == 1 && names->front() != kRunMarkName)) {
        return false;
    }
    const int mark = openat(folder, kRunMarkName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (mark < 0) return errno == ENOENT;
    struct stat info {};
    char text[kRunMark.size() + 1];
    const ssize_t got =
        fstat(mark, &info) == 0 && S_ISREG(info.st_mode) ? pread(mark, text, sizeof text, 0) : -1;
    close(mark);
    return got >= 0 && isUnfinishedRunMark(std::string_view(text, static_cast<size_t>(got))) &&
           unlinkat(folder, kRunMarkName, 0) == 0;
}

// Removes the folder `name` of `parent`, known as `folder`, if that name still is it.
void removeFolderEntry(int parent, const std::string& name, int folder) {
    struct stat opened {};
    struct stat named {};
    if (fstat(folder, &opened) == 0 &&
        fstatat(parent, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(opened, named)) {
        unlinkat(parent, name.c_str(), AT_REMOVEDIR);
    }
}

enum class Privacy { Private, WithoutModes, NotOurs };

bool isPrivate(const struct stat& info) {
    return info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

// What the folder just made as 0700, open as `folder`, turned out to be, once its mode is set
// again: a folder given group bits or a default access list by its parent is mended so; on a
// file system that keeps no modes the change does not hold, or is refused to the folder's own
// owner (whatever mode the folder seems to have); somebody else's folder put in its place is
// not ours.
Privacy makePrivate(int folder) {
    const int changed = fchmod(folder, 0700);
    const int error = errno;
    struct stat info {};
    if (fstat(folder, &info) != 0) return Privacy::NotOurs;
    if (changed == 0) {
        if (isPrivate(info)) return Privacy::Private;
        return (info.st_mode & 0777) != 0700 ? Privacy::WithoutModes : Privacy::NotOurs;
    }
    if (error == ENOSYS || error == EOPNOTSUPP || (error == EPERM && info.st_uid == geteuid())) {
        return Privacy::WithoutModes;
    }
    return Privacy::NotOurs;
}

// The folder `name` this run just made in `parent`, open, locked and private as far as its file
// system allows; -1 when the name no longer names it, or names somebody else's folder.
int adoptNewFolder(int parent, const std::string& name, bool& keepsModes) {
    const int opened = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (opened < 0) return -1;
    // The folder itself is locked while the run lives, from before it holds anything: a
    // clean-up by a run in the same folder takes a free lock for a dead run's. In the moment
    // before the lock such a clean-up may remove the new, empty folder; then the name no longer
    // names it and another is made. Where the file system has no locks it stays unlocked.
    while (flock(opened, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat info {};
    struct stat named {};
    if (fstat(opened, &info) != 0 ||
        fstatat(parent, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(info, named)) {
        close(opened);
        return -1;
    }
    const Privacy privacy = makePrivate(opened);
    if (privacy == Privacy::NotOurs) {
        // Never used, and gone at once if it is the empty folder this run made.
        removeFolderEntry(parent, name, opened);
        close(opened);
        return -1;
    }
    keepsModes = privacy == Privacy::Private;
    return opened;
}

// Removes the leftovers of dead runs in `parent` but `own`; see removeLeftoverPrivateFolders.
std::vector<std::string> removeLeftovers(int parent, bool keepsModes, const std::string& own) {
    std::vector<std::string> removed;
    const auto names = entriesOf(parent);
    if (!names) return removed;
    for (const std::string& name : *names) {
        if (!looksLikePrivateFolder(name) || name == own) continue;
        const int candidate = openat(parent, name.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (candidate < 0) continue;
        struct stat info {};
        // Another user's folder is theirs to clean, and a live run holds its folder's lock.
        // Where no modes are kept, every folder shows the same owner and mode: only the mark
        // and the lock tell.
        const bool deadRunsFolder = fstat(candidate, &info) == 0 &&
                                    (!keepsModes || isPrivate(info)) &&
                                    flock(candidate, LOCK_EX | LOCK_NB) == 0;
        const int mark = deadRunsFolder ? lockDeadRunsMark(candidate) : -1;
        bool emptied = false;
        if (mark >= 0) {
            emptied = removeAllButMark(candidate);
            close(mark);
            emptied = emptied && removeMark(candidate);
        } else if (deadRunsFolder) {
            // A run killed while it made its folder left it empty, or with an unfinished mark.
            emptied = holdsOnlyAnUnfinishedMark(candidate);
        }
        if (emptied) {
            removeFolderEntry(parent, name, candidate);
            removed.push_back(name);
        }
        close(candidate);
    }
    return removed;
}

}  // namespace

PrivateFolder::PrivateFolder(const OpenFolder& parent) : parent_(parent) {
    const int parentFd = fd(parent.native());
    for (int attempt = 0; attempt < kPrivateFolderAttempts && native_ < 0; ++attempt) {
        const std::string name = newPrivateFolderName();
        if (mkdirat(parentFd, name.c_str(), 0700) != 0) {
            if (errno == EEXIST) continue;
            const int error = errno;
            // The folder exists (it is open): refusing a new entry with ENOENT means it takes
            // none at all, as the kernel's own folders do.
            if (error == ENOENT) throw FileError(error, "a pasta não permite criar ficheiros");
            failWith(error);
        }
        native_ = adoptNewFolder(parentFd, name, keepsModes_);
        if (native_ >= 0) name_ = name;
    }
    if (native_ < 0) {
        throw FileError(EEXIST,
                        "não foi possível criar na pasta uma pasta temporária só deste utilizador");
    }
    // Once this run's folder is known (and with it whether modes are kept there), what dead
    // runs left beside it goes.
    removeLeftovers(parentFd, keepsModes_, name_);
    try {
        const std::string procPath = pathForLibrary();
        struct stat viaProc {};
        struct stat direct {};
        if (stat(procPath.c_str(), &viaProc) != 0 || fstat(fd(native_), &direct) != 0 ||
            !sameFile(viaProc, direct)) {
            throw FileError(ENOENT,
                            "o sistema não dá acesso às pastas abertas por /proc/self/fd (o /proc "
                            "não está montado?)");
        }
        // Locked before it says anything, so that a clean-up never takes it for a dead run's.
        // Where the file system has no locks the mark stays unlocked, and a clean-up, which
        // cannot take the lock either, leaves it alone.
        mark_ = createFile(kRunMarkName, 0600);
        flock(fd(mark_->native()), LOCK_EX);
        mark_->writeAll(kRunMark);
    } catch (...) {
        removeFolder();
        throw;
    }
}

void PrivateFolder::removeFolder() {
    removeAllButMark(fd(native_));
    mark_.reset();  // and with it its lock, while the folder's is still held
    removeMark(fd(native_));
    removeFolderEntry(fd(parent_.native()), name_, fd(native_));
    close(fd(native_));
}

PrivateFolder::~PrivateFolder() {
    removeFolder();
}

std::string PrivateFolder::pathForLibrary(std::string_view name) const {
    std::string path = "/proc/self/fd/" + std::to_string(native_);
    if (!name.empty()) {
        path += '/';
        path += name;
    }
    return path;
}

std::unique_ptr<OpenFile> PrivateFolder::createFile(std::string_view name, unsigned mode) {
    const std::string text(name);
    const int opened =
        openat(fd(native_), text.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (opened < 0) failWith(errno);
    return std::make_unique<OpenFile>(opened);
}

void PrivateFolder::moveOut(std::string_view name, const std::string& newName) {
    const std::string text(name);
    if (renameat(fd(native_), text.c_str(), fd(parent_.native()), newName.c_str()) != 0) {
        throw FileError(errno, fileErrorReason(errno));
    }
}

bool PrivateFolder::diskNearlyFull() const {
    struct statvfs disk {};
    if (fstatvfs(fd(native_), &disk) != 0) return false;
    const unsigned long long room = static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize;
    return room < kNearlyFullBytes || (disk.f_files > 0 && disk.f_favail == 0);
}

std::vector<std::string> removeLeftoverPrivateFolders(const OpenFolder& folder, bool keepsModes) {
    return removeLeftovers(fd(folder.native()), keepsModes, "");
}

}  // namespace talvers
