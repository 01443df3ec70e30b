#pragma once
// Replaces an output file so that it is never destroyed, corrupted or changed in kind:
// the new contents go to a temporary file beside the real target and take its place only
// once complete and flushed to disk.
//
// What is refused (a FileError with a Portuguese reason and an error number, before
// anything is written): a target that is, or names through links, one of `protectedFiles`
// (the same file by device and inode, so hard and symbolic links to them are caught); a
// target that exists and is not a regular file (folder, FIFO, device, socket); a read-only
// target — one we may not write to, or one with no write permission for anybody, which even
// the super-user's writes, which ignore permissions, must respect because its owner marked it
// so; and a target with several hard links, because replacing it would leave the other names
// on the old contents while writing in place could lose both on a full disk.
//
// A symbolic link is followed: the file it names is replaced and the link stays a link. The
// replaced file keeps its permission bits (and, where allowed, its owner and group); a new
// file gets the mode a plain creation would give it.
//
// The temporary file is ".NAME.tmp-XXXXXXXX" (eight hex digits) beside the real file, locked
// while in use. It is always closed and removed unless it became the target; after a
// successful replace, unlocked ones of the same NAME left by runs that were killed are removed.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace talvers {

class SafeReplace {
  public:
    // `fileName` is the target as the user gave it (UTF-8), also the name the messages show.
    SafeReplace(const std::string& fileName,
                const std::vector<std::filesystem::path>& protectedFiles);
    ~SafeReplace();
    SafeReplace(const SafeReplace&) = delete;
    SafeReplace& operator=(const SafeReplace&) = delete;

    const std::filesystem::path& temporaryPath() const { return temporary_; }
    const std::filesystem::path& folder() const { return folder_; }
    // The temporary file, open for reading back what was written to its path.
    int descriptor() const { return fd_; }

    // Gives the temporary file the target's mode, flushes it, renames it over the real target,
    // flushes the folder, and removes stale temporary files of the same target.
    void commit();

  private:
    [[noreturn]] void fail(const std::string& reason, int errorNumber) const;
    void resolveTarget();
    void refuseWhatIsNotOurs(const std::vector<std::filesystem::path>& protectedFiles);
    void createTemporary();
    void keepOwnerAndMode();
    void flushFolder();
    void removeStaleTemporaries() const;
    void discard();

    const std::string fileName_;
    std::filesystem::path real_;
    std::filesystem::path folder_;
    std::filesystem::path temporary_;
    bool exists_ = false;
    uid_t owner_ = 0;
    gid_t group_ = 0;
    mode_t mode_ = 0;
    int fd_ = -1;
    bool committed_ = false;
};

}  // namespace talvers
