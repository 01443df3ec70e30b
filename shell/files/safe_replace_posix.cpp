#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "shell/files/file_error.h"
#include "shell/files/file_identity.h"
#include "shell/files/open_folder.h"
#include "shell/files/private_folder.h"
#include "shell/files/safe_replace.h"
#include "shell/files/stop_request.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxLinkHops = 40;  // as the system's own limit on symbolic links in a path
constexpr mode_t kEveryWrite = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
constexpr mode_t kPlainNewFile = 0666;  // less the process's umask, as any new file
constexpr const char* kNewName = "novo";

std::string utf8Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A last component that names a folder whatever exists: "", "." or "..".
bool namesFolder(const std::string& leaf) {
    return leaf.empty() || leaf == "." || leaf == "..";
}

}  // namespace

struct SafeReplace::State {
    std::string fileName;
    ReplaceAccess access;
    WriteUnderWay underWay;
    // Destroyed in reverse: the new file closes, then the private folder goes.
    std::unique_ptr<OpenFolder> folder;
    std::string leaf;
    bool exists = false;
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
    std::unique_ptr<PrivateFolder> workspace;
    std::unique_ptr<OpenFile> temporary;

    [[noreturn]] void fail(const std::string& reason, int errorNumber) const {
        throw FileError(errorNumber,
                        "Não foi possível gravar o ficheiro '" + fileName + "': " + reason);
    }
    [[noreturn]] void fail(const FileError& failure) const {
        fail(failure.description(), static_cast<int>(failure.number()));
    }

    void resolveTarget();
    std::unique_ptr<OpenFolder> openFolder(const OpenFolder* base, const fs::path& path) const;
    void refuseWhatIsNotOurs(const std::vector<fs::path>& protectedFiles);
    void keepOwnerAndMode();
};

// Follows symbolic links one by one from the folder each was found in (a dangling one names
// the file to create), so that the private folder lands beside the file really replaced.
void SafeReplace::State::resolveTarget() {
    const fs::path given(std::u8string(fileName.begin(), fileName.end()));
    leaf = utf8Text(given.filename());
    if (namesFolder(leaf)) fail(kFolderOfThatName, EISDIR);
    folder = openFolder(nullptr, given.parent_path());
    for (int hops = 0;; ++hops) {
        struct stat info {};
        const int dir = static_cast<int>(folder->native());
        if (fstatat(dir, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) fail(fileErrorReason(errno), errno);
            return;  // a new file
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            owner = info.st_uid;
            group = info.st_gid;
            mode = info.st_mode;
            return;
        }
        if (hops == kMaxLinkHops) fail(fileErrorReason(ELOOP), ELOOP);
        char text[PATH_MAX];
        const ssize_t size = readlinkat(dir, leaf.c_str(), text, sizeof text);
        if (size < 0) fail(fileErrorReason(errno), errno);
        if (static_cast<size_t>(size) == sizeof text) {
            fail(fileErrorReason(ENAMETOOLONG), ENAMETOOLONG);
        }
        const fs::path link(std::string(text, static_cast<size_t>(size)));
        leaf = utf8Text(link.filename());
        if (namesFolder(leaf)) fail(kFolderOfThatName, EISDIR);
        folder = openFolder(folder.get(), link.parent_path());
    }
}

std::unique_ptr<OpenFolder> SafeReplace::State::openFolder(const OpenFolder* base,
                                                           const fs::path& path) const {
    try {
        return base ? std::make_unique<OpenFolder>(*base, path)
                    : std::make_unique<OpenFolder>(path);
    } catch (const FileError& failure) {
        fail(failure);
    }
}

void SafeReplace::State::refuseWhatIsNotOurs(const std::vector<fs::path>& protectedFiles) {
    if (!exists) return;
    if (S_ISDIR(mode)) fail(kFolderOfThatName, EISDIR);
    if (!S_ISREG(mode)) {
        fail(kNotARegularFile, EINVAL);
    }
    const int dir = static_cast<int>(folder->native());
    struct stat target {};
    if (fstatat(dir, leaf.c_str(), &target, AT_SYMLINK_NOFOLLOW) != 0) {
        fail(fileErrorReason(errno), errno);
    }
    const FileIdentity identity{static_cast<std::uint64_t>(target.st_dev),
                                static_cast<std::uint64_t>(target.st_ino)};
    if (isOneOf(identity, protectedFiles)) {
        fail(kProgramsOwnFile, EPERM);
    }
    if ((mode & kEveryWrite) == 0 || faccessat(dir, leaf.c_str(), W_OK, 0) != 0) {
        fail(kReadOnlyFile, EACCES);
    }
    if (target.st_nlink > 1) {
        fail(kOtherHardLinks, EMLINK);
    }
}

void SafeReplace::State::keepOwnerAndMode() {
    const int fd = static_cast<int>(temporary->native());
    struct stat info {};
    if (fstat(fd, &info) != 0) fail(fileErrorReason(errno), errno);
    // Only the super-user may give a file away; elsewhere the owner stays ours, as a write by
    // another user would leave it anyway. Changing owners clears set-id bits, so the mode is
    // set after.
    if (exists && (info.st_uid != owner || info.st_gid != group)) {
        (void)fchown(fd, owner, group);
    }
    const mode_t wanted = access == ReplaceAccess::OwnerOnly ? kOwnerOnly
                          : exists                           ? mode & kPermissionBits
                                                             : info.st_mode & kPermissionBits;
    if (fchmod(fd, wanted) != 0) fail(fileErrorReason(errno), errno);
}

SafeReplace::SafeReplace(const std::string& fileName, const std::vector<fs::path>& protectedFiles,
                         ReplaceAccess access)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.fileName = fileName;
    s.access = access;
    s.resolveTarget();
    s.refuseWhatIsNotOurs(protectedFiles);
    try {
        s.workspace = std::make_unique<PrivateFolder>(*s.folder);
        // The private folder keeps it from other users meanwhile; created as a plain new file
        // would be, it tells the mode a new target gets.
        s.temporary = s.workspace->createFile(
            kNewName, access == ReplaceAccess::OwnerOnly ? kOwnerOnly : kPlainNewFile);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
}

SafeReplace::~SafeReplace() = default;

std::string SafeReplace::libraryPath() const {
    return state_->workspace->pathForLibrary(kNewName);
}

std::string SafeReplace::libraryFolder() const {
    return state_->workspace->pathForLibrary();
}

void SafeReplace::write(std::string_view bytes) {
    try {
        state_->temporary->writeAll(bytes);
    } catch (const FileError& failure) {
        state_->fail(failure);
    }
}

ByteSource& SafeReplace::contents() {
    return *state_->temporary;
}

std::string SafeReplace::likelyCause() const {
    return state_->workspace->diskNearlyFull() ? fileErrorReason(ENOSPC) : "";
}

void SafeReplace::commit() {
    State& s = *state_;
    s.keepOwnerAndMode();
    try {
        s.temporary->sync();
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    // The last point at which stopping leaves the old file in place.
    throwIfStopRequested();
    try {
        s.workspace->moveOut(kNewName, s.leaf);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    try {
        s.folder->sync();
    } catch (const FileError& failure) {
        s.fail("o ficheiro foi substituído, mas a pasta não ficou gravada no disco: " +
                   failure.description(),
               static_cast<int>(failure.number()));
    }
    s.temporary.reset();
    s.workspace.reset();
}

}  // namespace talvers
