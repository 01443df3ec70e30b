#include <windows.h>

#include <aclapi.h>

#include <cerrno>

#include "shell/files/file_error.h"
#include "shell/files/file_identity.h"
#include "shell/files/open_folder.h"
#include "shell/files/private_folder.h"
#include "shell/files/safe_replace.h"
#include "shell/files/stop_request.h"
#include "shell/files/windows_file_error.h"
#include "shell/files/windows_paths.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr const char* kNewName = "novo";
constexpr unsigned kOwnerOnly = 0600;
constexpr unsigned kPlainNewFile = 0666;

// A last component that names a folder whatever exists: "", "." or "..".
bool namesFolder(const fs::path& leaf) {
    return leaf.empty() || leaf == L"." || leaf == L"..";
}

class Handle {
  public:
    explicit Handle(HANDLE opened) : opened_(opened) {}
    ~Handle() {
        if (valid()) CloseHandle(opened_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return opened_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return opened_; }

  private:
    HANDLE opened_;
};

// The access list a replaced file had when its owner set it apart from its folder's; null
// when it took the folder's, as files usually do.
struct OwnAccess {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL list = nullptr;
    ~OwnAccess() { LocalFree(descriptor); }
};

}  // namespace

struct SafeReplace::State {
    std::string fileName;
    ReplaceAccess access;
    WriteUnderWay underWay;
    // Destroyed in reverse: the new file closes, then the private folder goes.
    std::unique_ptr<OpenFolder> folder;
    fs::path leaf;
    OwnAccess ownAccess;
    std::unique_ptr<PrivateFolder> workspace;
    std::unique_ptr<OpenFile> temporary;

    [[noreturn]] void fail(const std::string& reason, int errorNumber) const {
        throw FileError(errorNumber,
                        "Não foi possível gravar o ficheiro '" + fileName + "': " + reason);
    }
    [[noreturn]] void fail(const FileError& failure) const {
        fail(failure.description(), static_cast<int>(failure.number()));
    }

    void inspectTarget(const std::vector<fs::path>& protectedFiles);
    void keepAccess() const;
};

// Opens what the name leads to (links followed) for its attributes only, refuses what is not
// ours to replace, and finds the folder of the file really replaced.
void SafeReplace::State::inspectTarget(const std::vector<fs::path>& protectedFiles) {
    const fs::path given = pathFromUtf8(fileName);
    if (namesFolder(given.filename())) fail(kFolderOfThatName, EISDIR);
    const Handle target(CreateFileW(given.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target.valid()) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) fail(windowsFileError(error));
        leaf = given.filename();  // a new file
        try {
            folder = std::make_unique<OpenFolder>(given.parent_path());
        } catch (const FileError& failure) {
            fail(failure);
        }
        return;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    // NUL, a console or a pipe open like files but are none.
    if (GetFileType(target.get()) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(target.get(), &info)) {
        fail(kNotARegularFile, EINVAL);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) fail(kFolderOfThatName, EISDIR);
    const FileIdentity identity{info.dwVolumeSerialNumber,
                                (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    if (isOneOf(identity, protectedFiles)) fail(kProgramsOwnFile, EPERM);
    // Checked here, not left to the rename: Wine renames over a read-only file.
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) fail(kReadOnlyFile, EACCES);
    if (info.nNumberOfLinks > 1) fail(kOtherHardLinks, EMLINK);
    // A file we may not write to, or one another program holds without sharing writes (a
    // spreadsheet open on it), is told now, before anything is written.
    const Handle writable(CreateFileW(given.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writable.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED) fail(kReadOnlyFile, EACCES);
        fail(windowsFileError(error));
    }
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (GetSecurityInfo(target.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                        &ownAccess.list, nullptr, &ownAccess.descriptor) == ERROR_SUCCESS &&
        !(GetSecurityDescriptorControl(ownAccess.descriptor, &control, &revision) &&
          (control & SE_DACL_PROTECTED))) {
        ownAccess.list = nullptr;
    }
    // The link's target is what gets replaced; the link stays a link.
    try {
        const fs::path real = pathOfHandle(reinterpret_cast<std::intptr_t>(target.get()));
        leaf = real.filename();
        folder = std::make_unique<OpenFolder>(real.parent_path());
    } catch (const FileError& failure) {
        fail(failure);
    }
}

// Before the move: an owner-only file says so, and a file whose owner set its access apart
// keeps it. Other files take their folder's access once moved, as a file made there would.
void SafeReplace::State::keepAccess() const {
    const HANDLE file = reinterpret_cast<HANDLE>(temporary->native());
    PACL list = ownAccess.list;
    if (access == ReplaceAccess::OwnerOnly || list == nullptr) return;
    const DWORD error = SetSecurityInfo(
        file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
        nullptr, nullptr, list, nullptr);
    if (error != ERROR_SUCCESS) fail(windowsFileError(error));
}

SafeReplace::SafeReplace(const std::string& fileName, const std::vector<fs::path>& protectedFiles,
                         ReplaceAccess access)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.fileName = fileName;
    s.access = access;
    s.inspectTarget(protectedFiles);
    try {
        s.workspace = std::make_unique<PrivateFolder>(*s.folder);
        s.temporary = s.workspace->createFile(
            kNewName, access == ReplaceAccess::OwnerOnly ? kOwnerOnly : kPlainNewFile);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
}

SafeReplace::~SafeReplace() = default;

std::string SafeReplace::libraryPath() const {
    return state_->workspace->pathForLibrary(kNewName);
}

std::string SafeReplace::libraryFolder() const {
    return state_->workspace->pathForLibrary();
}

void SafeReplace::write(std::string_view bytes) {
    try {
        state_->temporary->writeAll(bytes);
    } catch (const FileError& failure) {
        state_->fail(failure);
    }
}

ByteSource& SafeReplace::contents() {
    return *state_->temporary;
}

std::string SafeReplace::likelyCause() const {
    return state_->workspace->diskNearlyFull() ? fileErrorReason(ENOSPC) : "";
}

void SafeReplace::commit() {
    State& s = *state_;
    s.keepAccess();
    try {
        s.temporary->sync();
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    // The last point at which stopping leaves the old file in place.
    throwIfStopRequested();
    try {
        s.workspace->moveOut(kNewName, utf8FromPath(s.leaf));
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    // A file that took the owner's usual access in the private folder now takes its folder's,
    // as a file made there would; where that cannot be done it stays the owner's.
    if (s.access == ReplaceAccess::AsBefore && s.ownAccess.list == nullptr) {
        ACL empty{};
        if (InitializeAcl(&empty, sizeof empty, ACL_REVISION)) {
            std::wstring moved = (pathOfHandle(s.folder->native()) / s.leaf).native();
            SetNamedSecurityInfoW(moved.data(), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, &empty, nullptr);
        }
    }
    s.temporary.reset();
    s.workspace.reset();
}

}  // namespace talvers
