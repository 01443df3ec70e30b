#include "shell/files/write_target_posix.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "shell/files/file_error.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxLinkHops = 40;  // as the system's own limit on symbolic links in a path

// A last component that names a folder whatever exists: "", "." or "..".
bool namesFolder(const std::string& leaf) {
    return leaf.empty() || leaf == "." || leaf == "..";
}

// "utilizador ana", or its number when the system knows no name for it.
std::string userText(uid_t user) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return std::string("utilizador ") + found->pw_name;
    }
    return "utilizador n.º " + std::to_string(user);
}

bool othersMayWrite(const struct stat& folder) {
    return (folder.st_mode & (S_IWOTH | S_ISVTX)) != 0;
}

bool isStickyAndShared(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & (S_IWOTH | S_IWGRP)) != 0;
}

bool runnerOrFolderOwner(uid_t owner, const struct stat& folder) {
    return owner == geteuid() || owner == folder.st_uid;
}

std::unique_ptr<OpenFolder> openFolder(const OpenFolder* base, const fs::path& path) {
    return base ? std::make_unique<OpenFolder>(*base, path) : std::make_unique<OpenFolder>(path);
}

struct stat folderInfoOf(const OpenFolder& folder) {
    struct stat info {};
    if (fstat(static_cast<int>(folder.native()), &info) != 0) {
        throw FileError(errno, fileErrorReason(errno));
    }
    return info;
}

// What the link `shown` is and where it leads, as a text (the link's own, relative to its
// folder when not absolute). Throws FileError when it may not be followed.
fs::path linkText(const WriteTarget& at, const struct stat& link, const fs::path& shown) {
    if (othersMayWrite(at.folderInfo) && !runnerOrFolderOwner(link.st_uid, at.folderInfo)) {
        throw FileError(EPERM, "a ligação simbólica \"" + utf8FromPath(shown) + "\" pertence ao " +
                                   userText(link.st_uid) +
                                   ", numa pasta onde outros utilizadores podem escrever, e não "
                                   "é seguida");
    }
    char text[PATH_MAX];
    const ssize_t size =
        readlinkat(static_cast<int>(at.folder->native()), at.leaf.c_str(), text, sizeof text);
    if (size < 0) throw FileError(errno, fileErrorReason(errno));
    if (static_cast<size_t>(size) == sizeof text) {
        throw FileError(ENAMETOOLONG, fileErrorReason(ENAMETOOLONG));
    }
    return fs::path(std::string(text, static_cast<size_t>(size)));
}

}  // namespace

void refuseOthersFileInStickyFolder(const WriteTarget& target, const struct stat& file) {
    if (isStickyAndShared(target.folderInfo) && !runnerOrFolderOwner(file.st_uid, target.folderInfo)) {
        throw FileError(EPERM, "o ficheiro pertence ao " + userText(file.st_uid) +
                                   ", numa pasta partilhada onde só o dono de cada ficheiro o "
                                   "pode substituir");
    }
}

WriteTarget findWriteTarget(const std::string& fileName) {
    WriteTarget target;
    const fs::path given = pathFromUtf8(fileName);
    target.leaf = utf8FromPath(given.filename());
    if (namesFolder(target.leaf)) throw FileError(EISDIR, kFolderOfThatName);
    target.folder = openFolder(nullptr, given.parent_path());
    // The path the user would recognise for each link on the way, for the messages.
    fs::path shownFolder = given.parent_path();
    fs::path lastLink;
    for (int hops = 0;; ++hops) {
        target.folderInfo = folderInfoOf(*target.folder);
        struct stat info {};
        const int dir = static_cast<int>(target.folder->native());
        if (fstatat(dir, target.leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            const int error = errno;
            if (error != ENOENT) throw FileError(error, fileErrorReason(error));
            if (hops > 0) {
                throw FileError(ENOENT, "a ligação simbólica \"" + utf8FromPath(lastLink) +
                                            "\" aponta para um ficheiro que não existe");
            }
            return target;  // a new file
        }
        if (!S_ISLNK(info.st_mode)) {
            refuseOthersFileInStickyFolder(target, info);
            target.file = info;
            return target;
        }
        if (hops == kMaxLinkHops) throw FileError(ELOOP, fileErrorReason(ELOOP));
        lastLink = shownFolder / pathFromUtf8(target.leaf);
        const fs::path link = linkText(target, info, lastLink);
        target.leaf = utf8FromPath(link.filename());
        if (namesFolder(target.leaf)) throw FileError(EISDIR, kFolderOfThatName);
        shownFolder = link.is_absolute() ? link.parent_path() : shownFolder / link.parent_path();
        target.folder = openFolder(target.folder.get(), link.parent_path());
    }
}

}  // namespace talvers
