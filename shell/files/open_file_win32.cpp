#include <windows.h>

#include <cerrno>

#include "shell/files/open_file.h"
#include "shell/files/windows_file_error.h"

namespace talvers {
namespace {

// One call moves at most this much: ReadFile and WriteFile count in 32 bits.
constexpr std::size_t kLargestPiece = std::size_t{1} << 30;

HANDLE handle(OpenFile::Native native) {
    return reinterpret_cast<HANDLE>(native);
}

[[noreturn]] void failWithLastError() {
    throw windowsFileError(GetLastError());
}

}  // namespace

OpenFile::~OpenFile() {
    CloseHandle(handle(native_));
}

std::uint64_t OpenFile::size() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle(native_), &size)) failWithLastError();
    return static_cast<std::uint64_t>(size.QuadPart);
}

void OpenFile::readAt(std::uint64_t offset, unsigned char* into, std::size_t count) {
    while (count > 0) {
        // On a handle opened without FILE_FLAG_OVERLAPPED the offset makes this a positioned,
        // synchronous read, as pread is.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        const DWORD piece = static_cast<DWORD>(count < kLargestPiece ? count : kLargestPiece);
        if (!ReadFile(handle(native_), into, piece, &got, &at)) {
            if (GetLastError() != ERROR_HANDLE_EOF) failWithLastError();
            got = 0;
        }
        if (got == 0) throw FileError(EIO, "o ficheiro está cortado");
        into += got;
        offset += got;
        count -= got;
    }
}

void OpenFile::writeAll(std::string_view bytes) {
    const char* at = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD put = 0;
        const DWORD piece = static_cast<DWORD>(left < kLargestPiece ? left : kLargestPiece);
        if (!WriteFile(handle(native_), at, piece, &put, nullptr)) failWithLastError();
        // A write that takes nothing and says nothing has no room left.
        if (put == 0) throw windowsFileError(ERROR_DISK_FULL);
        at += put;
        left -= put;
    }
}

void OpenFile::sync() {
    if (!FlushFileBuffers(handle(native_))) failWithLastError();
}

std::unique_ptr<OpenFile> OpenFile::reopenForReading() const {
    const HANDLE opened = ReOpenFile(handle(native_), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (opened == INVALID_HANDLE_VALUE) failWithLastError();
    return std::make_unique<OpenFile>(reinterpret_cast<OpenFile::Native>(opened));
}

// Windows sets no file-size limit on a process.
bool OpenFile::atSizeLimit() {
    return false;
}

std::unique_ptr<OpenFile> openFileForReading(const std::filesystem::path& file) {
    const HANDLE opened = CreateFileW(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) failWithLastError();
    return std::make_unique<OpenFile>(reinterpret_cast<OpenFile::Native>(opened));
}

}  // namespace talvers
