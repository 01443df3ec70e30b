#pragma once
// Replaces a file the program writes so that it is whole or absent: the new contents go to a
// file in a private folder of the run (private_folder.h) beside the real target, are read back
// and proven by the caller, flushed, and take the target's place by one rename, after which
// the folder is flushed too. Until then the old file stays exactly as it was.
//
// What is refused (a FileError with a Portuguese reason and an error number, before anything
// is written): a target that is, or names through links, one of `protectedFiles` (the same file
// by device and inode, so hard and symbolic links to them are caught); a target that exists and
// is not a regular file (folder, FIFO, device, socket); a read-only target — one we may not
// write to, or one with no write permission for anybody, which even the super-user's writes,
// which ignore permissions, must respect because its owner marked it so; and a target with
// several hard links, because replacing it would leave the other names on the old contents.
//
// A symbolic link is followed: the file it names is replaced and the link stays a link. The
// replaced file keeps its permission bits (and, where allowed, its owner and group) unless
// `access` asks for a file only its owner may read; a new file gets the mode a plain creation
// would give it. Any name the file system takes (up to its limit, 255 bytes on most) may be
// the target: the intermediate file's own name is short and lives in the private folder.
//
// The folder that holds the target is opened once and used through its handle; a link or a
// rename another user makes there meanwhile never redirects the write. The private folder is
// always removed, whatever happens, unless the run is killed; the next run in that folder then
// removes it.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/files/byte_source.h"

namespace talvers {

enum class ReplaceAccess {
    AsBefore,   // the old file's permissions, or a new file's usual ones
    OwnerOnly,  // readable and writable by the owner alone (mode 0600)
};

class SafeReplace {
  public:
    // `fileName` is the target as the user gave it (UTF-8), also the name the messages show.
    SafeReplace(const std::string& fileName,
                const std::vector<std::filesystem::path>& protectedFiles,
                ReplaceAccess access = ReplaceAccess::AsBefore);
    ~SafeReplace();
    SafeReplace(const SafeReplace&) = delete;
    SafeReplace& operator=(const SafeReplace&) = delete;

    // Appends to the new contents; throws FileError naming the file.
    void write(std::string_view bytes);
    // The new contents as they are on disk now, opened anew to be read back. Throws
    // FileError naming the file.
    ByteSource& contents();
    // The likely cause of a write that failed without saying why ("o disco está cheio", a
    // file-size limit reached), or "" when none is seen.
    std::string likelyCause() const;

    // Gives the new file its mode, flushes it, renames it over the real target and flushes
    // the folder. Throws FileError naming the file; StopRequested (the reason alone) when a
    // stop was requested before the rename.
    void commit();

    // What one replace knows while it works, for the steps each system takes its own way
    // (safe_replace_state.h, private to shell/files).
    struct State;

  private:
    std::unique_ptr<State> state_;
};

}  // namespace talvers
