#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "shell/files/file_error.h"
#include "shell/files/private_folder.h"
#include "shell/files/private_folder_names.h"
#include "shell/files/windows_file_error.h"
#include "shell/files/windows_paths.h"
#include "shell/platform/utf8_path.h"

// On Windows the folder's handle is its lock: it is held with delete access and without
// FILE_SHARE_DELETE, so while the run lives nobody can rename, move or remove the folder (its
// path keeps naming it), and a clean-up's own open for deletion fails on it. The mark is held
// with no sharing at all. Another user's private folder is closed to us by its access list.
namespace talvers {
namespace fs = std::filesystem;
namespace {

HANDLE handle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}

// Access for the owner alone, not inherited by what is made inside (a file created there gets
// the owner's usual access; the replace gives it its final access when it moves out).
constexpr const wchar_t* kOwnerOnly = L"D:P(A;;FA;;;OW)";

class SecurityDescriptor {
  public:
    explicit SecurityDescriptor(const wchar_t* text) {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(text, SDDL_REVISION_1,
                                                                  &descriptor_, nullptr)) {
            throw windowsFolderError(GetLastError());
        }
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = descriptor_;
    }
    ~SecurityDescriptor() { LocalFree(descriptor_); }
    SecurityDescriptor(const SecurityDescriptor&) = delete;
    SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;
    SECURITY_ATTRIBUTES* attributes() { return &attributes_; }

  private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

// Opens the folder `path` for its own deletion, shared with readers and writers only; a
// junction or link planted under the name is opened as itself and refused.
HANDLE openFolderToHold(const fs::path& path) {
    const HANDLE opened =
        CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | DELETE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return opened;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(opened, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        CloseHandle(opened);
        return INVALID_HANDLE_VALUE;
    }
    return opened;
}

// Marks what `opened` (opened with delete access) is for deletion when its last handle closes.
bool deleteOnClose(HANDLE opened) {
    FILE_DISPOSITION_INFO erase{TRUE};
    return SetFileInformationByHandle(opened, FileDispositionInfo, &erase, sizeof erase);
}

struct Entry {
    std::wstring name;
    bool folder = false;
};

// The entries of the folder held open as `held`, read through it (a listing by name is
// refused while the folder is held); nullopt when they cannot be read.
std::optional<std::vector<Entry>> entriesOf(HANDLE held) {
    // A handle of its own, opened through the held one (never by name), starts at the top.
    const HANDLE folder = ReOpenFile(held, FILE_LIST_DIRECTORY,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     FILE_FLAG_BACKUP_SEMANTICS);
    if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<Entry> entries;
    alignas(LONGLONG) unsigned char buffer[64 * 1024];
    for (;;) {
        if (!GetFileInformationByHandleEx(folder, FileIdBothDirectoryInfo, buffer, sizeof buffer)) {
            const bool end = GetLastError() == ERROR_NO_MORE_FILES;
            CloseHandle(folder);
            if (end) return entries;
            return std::nullopt;
        }
        for (auto* at = buffer;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                entries.push_back(
                    {std::move(name), (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
            }
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
    }
}

// Removes every file of the folder `path`, held open as `folder`, but the mark; whether all
// went (a folder inside, or entries that cannot be read, are never ours).
bool removeFilesBesideTheMark(HANDLE folder, const fs::path& path) {
    const auto entries = entriesOf(folder);
    if (!entries) return false;
    bool empty = true;
    for (const Entry& entry : *entries) {
        if (entry.name == pathFromUtf8(kRunMarkName).native()) continue;
        // DeleteFileW removes a link itself, never what it leads to.
        if (entry.folder || !DeleteFileW((path / entry.name).c_str())) empty = false;
    }
    return empty;
}

// The whole text of a mark open as `mark` (at most one byte longer than a mark).
std::string markText(HANDLE mark) {
    std::string text(kRunMark.size() + 1, '\0');
    DWORD got = 0;
    OVERLAPPED start{};
    if (!ReadFile(mark, text.data(), static_cast<DWORD>(text.size()), &got, &start)) got = 0;
    text.resize(got);
    return text;
}

// Removes the dead run's folder `path`, when that is what it is.
bool removeDeadRunsFolder(const fs::path& path) {
    const HANDLE folder = openFolderToHold(path);
    // A live run holds its folder: this open fails on it.
    if (folder == INVALID_HANDLE_VALUE) return false;
    const fs::path markPath = path / pathFromUtf8(kRunMarkName);
    const HANDLE mark = CreateFileW(markPath.c_str(), GENERIC_READ | DELETE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    bool removed = false;
    if (mark != INVALID_HANDLE_VALUE) {
        const std::string text = markText(mark);
        const bool whole = isWholeRunMark(text);
        // A run killed while it made its folder left only an unfinished mark.
        const auto entries = entriesOf(folder);
        const bool unfinished = isUnfinishedRunMark(text) && entries && entries->size() == 1;
        if ((whole && removeFilesBesideTheMark(folder, path)) || unfinished) {
            removed = deleteOnClose(mark);
        }
        CloseHandle(mark);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        const auto entries = entriesOf(folder);
        removed = entries && entries->empty();
    }
    removed = removed && deleteOnClose(folder);
    CloseHandle(folder);
    return removed;
}

}  // namespace

PrivateFolder::PrivateFolder(const OpenFolder& parent) : parent_(parent) {
    removeLeftoverPrivateFolders(parent);
    const fs::path parentPath = pathOfHandle(parent.native());
    SecurityDescriptor ownerOnly(kOwnerOnly);
    for (int attempt = 0; attempt < kPrivateFolderAttempts && native_ < 0; ++attempt) {
        const std::string name = newPrivateFolderName();
        const fs::path path = parentPath / pathFromUtf8(name);
        if (!CreateDirectoryW(path.c_str(), ownerOnly.attributes())) {
            const DWORD error = GetLastError();
            if (error == ERROR_ALREADY_EXISTS) continue;
            throw windowsFolderError(error);
        }
        // A clean-up by another run may remove the new, empty folder before it is held; then
        // the open fails and another is made.
        const HANDLE opened = openFolderToHold(path);
        if (opened == INVALID_HANDLE_VALUE) continue;
        native_ = reinterpret_cast<Native>(opened);
        name_ = name;
    }
    if (native_ < 0) throw FileError(EEXIST, folderErrorReason(EEXIST));
    try {
        const fs::path markPath = pathFromUtf8(pathForLibrary(kRunMarkName));
        const HANDLE mark = CreateFileW(markPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (mark == INVALID_HANDLE_VALUE) throw windowsFolderError(GetLastError());
        mark_ = std::make_unique<OpenFile>(reinterpret_cast<OpenFile::Native>(mark));
        mark_->writeAll(kRunMark);
    } catch (...) {
        if (mark_) deleteOnClose(handle(mark_->native()));
        mark_.reset();
        deleteOnClose(handle(native_));
        CloseHandle(handle(native_));
        throw;
    }
}

PrivateFolder::~PrivateFolder() {
    removeFilesBesideTheMark(handle(native_), pathFromUtf8(pathForLibrary()));
    deleteOnClose(handle(mark_->native()));
    mark_.reset();
    deleteOnClose(handle(native_));
    CloseHandle(handle(native_));
}

std::string PrivateFolder::pathForLibrary(std::string_view name) const {
    fs::path path = pathOfHandle(native_);
    if (!name.empty()) path /= pathFromUtf8(name);
    return utf8FromPath(path);
}

std::unique_ptr<OpenFile> PrivateFolder::createFile(std::string_view name, unsigned mode) {
    const fs::path path = pathFromUtf8(pathForLibrary(name));
    // Owner-only files get an access list that says so; others take the owner's usual one.
    std::unique_ptr<SecurityDescriptor> ownerOnly;
    if ((mode & 077) == 0) ownerOnly = std::make_unique<SecurityDescriptor>(kOwnerOnly);
    // Shared for deletion, so that the file can move out by name while it is still open.
    const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      ownerOnly ? ownerOnly->attributes() : nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw windowsFolderError(GetLastError());
    return std::make_unique<OpenFile>(reinterpret_cast<OpenFile::Native>(opened));
}

void PrivateFolder::moveOut(std::string_view name, const std::string& newName) {
    const fs::path from = pathFromUtf8(pathForLibrary(name));
    const fs::path to = pathOfHandle(parent_.native()) / pathFromUtf8(newName);
    if (!MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        // Windows refuses to replace a file another program holds open with "access denied".
        if (error == ERROR_ACCESS_DENIED) {
            throw FileError(EBUSY,
                            "o ficheiro está aberto noutro programa ou não pode ser substituído");
        }
        throw windowsFileError(error);
    }
}

bool PrivateFolder::diskNearlyFull() const {
    ULARGE_INTEGER room{};
    if (!GetDiskFreeSpaceExW(pathOfHandle(native_).c_str(), &room, nullptr, nullptr)) {
        return false;
    }
    return room.QuadPart < kNearlyFullBytes;
}

std::vector<std::string> removeLeftoverPrivateFolders(const OpenFolder& folder, bool) {
    std::vector<std::string> removed;
    const fs::path parent = pathOfHandle(folder.native());
    const auto entries = entriesOf(handle(folder.native()));
    if (!entries) return removed;
    for (const Entry& entry : *entries) {
        const std::string name = utf8FromPath(fs::path(entry.name));
        if (entry.folder && looksLikePrivateFolder(name) &&
            removeDeadRunsFolder(parent / entry.name)) {
            removed.push_back(name);
        }
    }
    return removed;
}

}  // namespace talvers
