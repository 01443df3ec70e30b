#include "shell/files/windows_file_error.h"

#include <windows.h>

#include <cerrno>

namespace talvers {
namespace {

// Missing from mingw-w64's winerror.h.
constexpr DWORD kDiskQuotaExceeded = 1295;

constexpr const char* kHeldByAnotherProgram = "o ficheiro está aberto noutro programa";

// The errno of a Windows code, or 0 when there is none.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return EBUSY;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case kDiskQuotaExceeded:
            return kQuotaExceeded;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_PARAMETER:
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
            return EINVAL;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_HANDLE_EOF:
            return EIO;
        default:
            return 0;
    }
}

FileError errorOf(unsigned long error, std::string (*reason)(int)) {
    const int number = errnoOf(error);
    // Another program (a spreadsheet open on the file) holding it is the usual case on
    // Windows, and the one a user can act on.
    if (number == EBUSY) return FileError(EBUSY, kHeldByAnotherProgram);
    if (number == 0) {
        return FileError(static_cast<long>(error),
                         "erro do sistema Windows n.º " + std::to_string(error));
    }
    return FileError(number, reason(number));
}

}  // namespace

FileError windowsFileError(unsigned long error) {
    return errorOf(error, fileErrorReason);
}

FileError windowsFolderError(unsigned long error) {
    return errorOf(error, folderErrorReason);
}

}  // namespace talvers
