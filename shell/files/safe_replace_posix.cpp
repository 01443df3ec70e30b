#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "shell/files/file_identity.h"
#include "shell/files/safe_replace_state.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxLinkHops = 40;  // as the system's own limit on symbolic links in a path
constexpr mode_t kEveryWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

// A last component that names a folder whatever exists: "", "." or "..".
bool namesFolder(const std::string& leaf) {
    return leaf.empty() || leaf == "." || leaf == "..";
}

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

std::unique_ptr<OpenFolder> openFolder(const State& s, const OpenFolder* base,
                                       const fs::path& path) {
    try {
        return base ? std::make_unique<OpenFolder>(*base, path)
                    : std::make_unique<OpenFolder>(path);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
}

// Follows symbolic links one by one from the folder each was found in (a dangling one names
// the file to create), so that the private folder lands beside the file really replaced.
void resolveTarget(State& s) {
    TargetFacts& target = *s.target;
    const fs::path given = pathFromUtf8(s.fileName);
    s.leaf = utf8FromPath(given.filename());
    if (namesFolder(s.leaf)) s.fail(kFolderOfThatName, EISDIR);
    s.folder = openFolder(s, nullptr, given.parent_path());
    for (int hops = 0;; ++hops) {
        struct stat info {};
        const int dir = static_cast<int>(s.folder->native());
        if (fstatat(dir, s.leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) s.fail(fileErrorReason(errno), errno);
            return;  // a new file
        }
        if (!S_ISLNK(info.st_mode)) {
            target.exists = true;
            target.owner = info.st_uid;
            target.group = info.st_gid;
            target.mode = info.st_mode;
            return;
        }
        if (hops == kMaxLinkHops) s.fail(fileErrorReason(ELOOP), ELOOP);
        char text[PATH_MAX];
        const ssize_t size = readlinkat(dir, s.leaf.c_str(), text, sizeof text);
        if (size < 0) s.fail(fileErrorReason(errno), errno);
        if (static_cast<size_t>(size) == sizeof text) {
            s.fail(fileErrorReason(ENAMETOOLONG), ENAMETOOLONG);
        }
        const fs::path link(std::string(text, static_cast<size_t>(size)));
        s.leaf = utf8FromPath(link.filename());
        if (namesFolder(s.leaf)) s.fail(kFolderOfThatName, EISDIR);
        s.folder = openFolder(s, s.folder.get(), link.parent_path());
    }
}

void refuseWhatIsNotOurs(const State& s, const std::vector<fs::path>& protectedFiles) {
    const TargetFacts& target = *s.target;
    if (!target.exists) return;
    if (S_ISDIR(target.mode)) s.fail(kFolderOfThatName, EISDIR);
    if (!S_ISREG(target.mode)) s.fail(kNotARegularFile, EINVAL);
    const int dir = static_cast<int>(s.folder->native());
    struct stat info {};
    if (fstatat(dir, s.leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        s.fail(fileErrorReason(errno), errno);
    }
    const FileIdentity identity{static_cast<std::uint64_t>(info.st_dev),
                                static_cast<std::uint64_t>(info.st_ino)};
    if (isOneOf(identity, protectedFiles)) s.fail(kProgramsOwnFile, EPERM);
    if ((target.mode & kEveryWrite) == 0 || faccessat(dir, s.leaf.c_str(), W_OK, 0) != 0) {
        s.fail(kReadOnlyFile, EACCES);
    }
    if (info.st_nlink > 1) s.fail(kOtherHardLinks, EMLINK);
}

}  // namespace

void inspectTarget(State& s, const std::vector<fs::path>& protectedFiles) {
    s.target.reset(new TargetFacts);
    resolveTarget(s);
    refuseWhatIsNotOurs(s, protectedFiles);
}

// The replaced file keeps its owner and group where allowed, and its permission bits; a new
// one gets a plain new file's.
void keepAccess(State& s) {
    const TargetFacts& target = *s.target;
    const int fd = static_cast<int>(s.temporary->native());
    struct stat info {};
    if (fstat(fd, &info) != 0) s.fail(fileErrorReason(errno), errno);
    // Only the super-user may give a file away; elsewhere the owner stays ours, as a write by
    // another user would leave it anyway. Changing owners clears set-id bits, so the mode is
    // set after.
    if (target.exists && (info.st_uid != target.owner || info.st_gid != target.group)) {
        // A refusal is no failure (see above); fortified builds insist the result is read.
        if (fchown(fd, target.owner, target.group) != 0) errno = 0;
    }
    const mode_t wanted = s.access == ReplaceAccess::OwnerOnly ? kOwnerOnly
                          : target.exists                      ? target.mode & kPermissionBits
                                                               : info.st_mode & kPermissionBits;
    if (fchmod(fd, wanted) != 0) s.fail(fileErrorReason(errno), errno);
}

void afterMove(State&) {}

}  // namespace talvers
