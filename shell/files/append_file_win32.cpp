#include <windows.h>

#include <cerrno>

#include "shell/files/append_file.h"
#include "shell/files/file_identity.h"
#include "shell/files/windows_file_error.h"
#include "shell/platform/utf8_path.h"

namespace talvers {

AppendFile::AppendFile(const std::filesystem::path& file,
                       const std::vector<std::filesystem::path>& protectedFiles) {
    // Refused by name before anything is made: a missing journal of the database stays missing.
    const std::filesystem::path parent = file.parent_path();
    const auto folder = fileIdentity(parent.empty() ? std::filesystem::path(L".") : parent);
    if (folder && namesOneOf(*folder, utf8FromPath(file.filename()), protectedFiles)) {
        throw FileError(EPERM, kProgramsOwnFileForLog);
    }
    // Append access alone: every write lands at the end, whoever else writes to the file.
    const HANDLE opened = CreateFileW(file.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // A folder of that name answers "access denied".
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            throw FileError(EISDIR, fileErrorReason(EISDIR));
        }
        throw windowsFileError(error);
    }
    file_ = std::make_unique<OpenFile>(reinterpret_cast<OpenFile::Native>(opened));
    // NUL, a console or a pipe open like files but are none.
    if (GetFileType(opened) != FILE_TYPE_DISK) {
        throw FileError(EINVAL, kNotARegularFile);
    }
    if (isOneOf(fileIdentity(*file_), protectedFiles)) {
        throw FileError(EPERM, kProgramsOwnFileForLog);
    }
}

void AppendFile::append(std::string_view bytes) {
    file_->writeAll(bytes);
}

}  // namespace talvers
