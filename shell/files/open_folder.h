#pragma once
// A folder opened once and reached through its handle from then on (a descriptor on POSIX):
// when another user renames the folder or swaps its path for a link afterwards, what the
// program does still happens in the folder it opened and checked.
#include <cstdint>
#include <filesystem>

namespace talvers {

class OpenFolder {
  public:
    using Native = std::intptr_t;  // a descriptor on POSIX

    // Opens `folder` ("" is the working folder). Throws FileError with the folder's reason
    // (missing, not a folder, no permission, ...).
    explicit OpenFolder(const std::filesystem::path& folder);
    // Opens `folder` taken from `base` when relative (as a symbolic link's text in `base` is).
    OpenFolder(const OpenFolder& base, const std::filesystem::path& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // Flushes the folder's entries (a rename into it) to the disk. A file system that cannot
    // flush a folder at all is no failure; any other failure throws FileError.
    void sync() const;
    Native native() const { return native_; }

  private:
    Native native_;
};

}  // namespace talvers
