#pragma once
// Bytes read at any offset of a file: what the read-back checks read a finished file through,
// whatever the system's call for it (pread on POSIX).
#include <cstddef>
#include <cstdint>

namespace talvers {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // The file's size now. Throws FileError (the system's error number and reason).
    virtual std::uint64_t size() = 0;
    // Reads exactly `count` bytes at `offset`. Throws FileError: a read failure, or EIO with
    // "o ficheiro está cortado" when the file ends first.
    virtual void readAt(std::uint64_t offset, unsigned char* into, std::size_t count) = 0;
};

}  // namespace talvers
