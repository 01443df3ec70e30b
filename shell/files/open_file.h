#pragma once
// A file opened by the program and reached through its handle from then on (a descriptor on
// POSIX), so that whatever happens to its name, reads, writes and flushes go to this file.
// Made by PrivateFolder (a new private file) and by openFileForReading.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "shell/files/byte_source.h"

namespace talvers {

class OpenFile : public ByteSource {
  public:
    using Native = std::intptr_t;  // a descriptor on POSIX

    // Takes ownership of `native`, which must be open.
    explicit OpenFile(Native native) : native_(native) {}
    ~OpenFile() override;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::uint64_t size() override;
    void readAt(std::uint64_t offset, unsigned char* into, std::size_t count) override;
    // Writes all of `bytes` at the end of what was written through this handle, or throws
    // FileError: a full disk, a quota or size limit is never a silent short write.
    void writeAll(std::string_view bytes);
    // Flushes the contents to the disk; throws FileError.
    void sync();
    // The same file opened anew for reading, without its name: what a fresh reader finds on
    // the disk, not what a file system may keep for this handle (some FUSE file systems read
    // back through the writing handle wrongly). Throws FileError.
    std::unique_ptr<OpenFile> reopenForReading() const;
    // Whether the file has grown to the largest size the process may write (ulimit -f), so
    // that a write that failed without saying why most likely failed for that.
    bool atSizeLimit();
    Native native() const { return native_; }

  private:
    Native native_;
};

// Opens an existing file for reading. Throws FileError.
std::unique_ptr<OpenFile> openFileForReading(const std::filesystem::path& file);

}  // namespace talvers
