#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "shell/files/file_identity.h"
#include "shell/files/safe_replace_state.h"
#include "shell/files/write_target_posix.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr mode_t kEveryWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kPlainBits = 0777;  // no set-id or sticky bits
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

}  // namespace

struct TargetFacts {
    bool exists = false;
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
};

void TargetFactsDeleter::operator()(TargetFacts* facts) const {
    delete facts;
}

namespace {

using State = SafeReplace::State;

void refuseWhatIsNotOurs(const State& s, const WriteTarget& found,
                         const std::vector<fs::path>& protectedFiles) {
    bool inUse = false;
    try {
        // By name too: a database's journal that does not exist yet is still its own.
        inUse = namesOneOf(fileIdentity(*s.folder), s.leaf, protectedFiles);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    if (inUse) s.fail(kProgramsOwnFile, EPERM);
    if (!found.file) return;
    const struct stat& info = *found.file;
    if (S_ISDIR(info.st_mode)) s.fail(kFolderOfThatName, EISDIR);
    if (!S_ISREG(info.st_mode)) s.fail(kNotARegularFile, EINVAL);
    const FileIdentity identity{static_cast<std::uint64_t>(info.st_dev),
                                static_cast<std::uint64_t>(info.st_ino)};
    if (isOneOf(identity, protectedFiles)) s.fail(kProgramsOwnFile, EPERM);
    const int dir = static_cast<int>(s.folder->native());
    if ((info.st_mode & kEveryWrite) == 0) s.fail(kReadOnlyFile, EACCES);
    if (faccessat(dir, s.leaf.c_str(), W_OK, 0) != 0) {
        // A stick or share mounted read-only is no file's doing.
        if (errno == EROFS) s.fail(folderErrorReason(EROFS), EROFS);
        s.fail(kReadOnlyFile, EACCES);
    }
    if (info.st_nlink > 1) s.fail(kOtherHardLinks, EMLINK);
}

}  // namespace

void inspectTarget(State& s, const std::vector<fs::path>& protectedFiles) {
    s.target.reset(new TargetFacts);
    WriteTarget found;
    try {
        found = findWriteTarget(s.fileName);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    s.folder = std::move(found.folder);
    s.leaf = found.leaf;
    refuseWhatIsNotOurs(s, found, protectedFiles);
    if (found.file) {
        TargetFacts& target = *s.target;
        target.exists = true;
        target.owner = found.file->st_uid;
        target.group = found.file->st_gid;
        target.mode = found.file->st_mode;
    }
}

// A file of ours that is replaced keeps its group and permission bits; a new one gets a plain
// new file's. The new file is always ours: one that replaces another user's file is never given
// away to them (what the super-user writes would then be theirs to change), and gets no more
// access than either the old file or a plain new file would have.
void keepAccess(State& s) {
    // A file system without Unix modes (FAT, a share) keeps none to set.
    if (!s.workspace->keepsModes()) return;
    const TargetFacts& target = *s.target;
    const int fd = static_cast<int>(s.temporary->native());
    struct stat info {};
    if (fstat(fd, &info) != 0) s.fail(fileErrorReason(errno), errno);
    const mode_t plainNewFile = info.st_mode & kPlainBits;
    const bool ours = target.exists && target.owner == geteuid();
    // Changing the group clears set-id bits, so the mode is set after. A refusal is no failure
    // (the group stays the folder's); fortified builds insist the result is read.
    if (ours && info.st_gid != target.group &&
        fchown(fd, static_cast<uid_t>(-1), target.group) != 0) {
        errno = 0;
    }
    const mode_t wanted = s.access == ReplaceAccess::OwnerOnly ? kOwnerOnly
                          : !target.exists                     ? plainNewFile
                          : ours                               ? target.mode & kPermissionBits
                                                               : target.mode & plainNewFile;
    if (fchmod(fd, wanted) != 0) s.fail(fileErrorReason(errno), errno);
}

void afterMove(State&) {}

}  // namespace talvers
