#include <windows.h>

#include <aclapi.h>

#include <cerrno>

#include "shell/files/file_identity.h"
#include "shell/files/safe_replace_state.h"
#include "shell/files/windows_file_error.h"
#include "shell/files/windows_paths.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

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

using State = SafeReplace::State;

}  // namespace

// The access list a replaced file had when its owner set it apart from its folder's; none
// when it took the folder's, as files usually do.
struct TargetFacts {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL ownList = nullptr;
    ~TargetFacts() { LocalFree(descriptor); }
};

void TargetFactsDeleter::operator()(TargetFacts* facts) const {
    delete facts;
}

// Opens what the name leads to (links followed) for its attributes only, refuses what is not
// ours to replace, and finds the folder of the file really replaced.
void inspectTarget(State& s, const std::vector<fs::path>& protectedFiles) {
    s.target.reset(new TargetFacts);
    TargetFacts& facts = *s.target;
    const fs::path given = pathFromUtf8(s.fileName);
    if (namesFolder(given.filename())) s.fail(kFolderOfThatName, EISDIR);
    const Handle target(CreateFileW(given.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    fs::path real = given;  // a new file
    if (target.valid()) {
        BY_HANDLE_FILE_INFORMATION info{};
        // NUL, a console or a pipe open like files but are none.
        if (GetFileType(target.get()) != FILE_TYPE_DISK ||
            !GetFileInformationByHandle(target.get(), &info)) {
            s.fail(kNotARegularFile, EINVAL);
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) s.fail(kFolderOfThatName, EISDIR);
        const FileIdentity identity{
            info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
        if (isOneOf(identity, protectedFiles)) s.fail(kProgramsOwnFile, EPERM);
        // Checked here, not left to the rename: Wine renames over a read-only file.
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) s.fail(kReadOnlyFile, EACCES);
        if (info.nNumberOfLinks > 1) s.fail(kOtherHardLinks, EMLINK);
        // A file we may not write to, or one another program holds without sharing writes (a
        // spreadsheet open on it), is told now, before anything is written.
        const Handle writable(CreateFileW(given.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writable.valid()) {
            const DWORD error = GetLastError();
            if (error == ERROR_ACCESS_DENIED) s.fail(kReadOnlyFile, EACCES);
            s.fail(windowsFileError(error));
        }
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        if (GetSecurityInfo(target.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &facts.ownList, nullptr, &facts.descriptor) == ERROR_SUCCESS &&
            !(GetSecurityDescriptorControl(facts.descriptor, &control, &revision) &&
              (control & SE_DACL_PROTECTED))) {
            facts.ownList = nullptr;
        }
        // The link's target is what gets replaced; the link stays a link.
        try {
            real = pathOfHandle(reinterpret_cast<std::intptr_t>(target.get()));
        } catch (const FileError& failure) {
            s.fail(failure);
        }
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        s.fail(windowsFileError(GetLastError()));
    }
    s.leaf = utf8FromPath(real.filename());
    bool inUse = false;
    try {
        s.folder = std::make_unique<OpenFolder>(real.parent_path());
        // By name too: a database's journal that does not exist yet is still its own.
        inUse = namesOneOf(fileIdentity(*s.folder), s.leaf, protectedFiles);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    if (inUse) s.fail(kProgramsOwnFile, EPERM);
}

// Before the move: an owner-only file was made so, and a file whose owner set its access apart
// keeps it. Other files take their folder's access once moved (afterMove).
void keepAccess(State& s) {
    PACL list = s.target->ownList;
    if (s.access == ReplaceAccess::OwnerOnly || list == nullptr) return;
    const DWORD error =
        SetSecurityInfo(reinterpret_cast<HANDLE>(s.temporary->native()), SE_FILE_OBJECT,
                        DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, list, nullptr);
    if (error != ERROR_SUCCESS) s.fail(windowsFileError(error));
}

// A file that took the owner's usual access in the private folder now takes its folder's, as a
// file made there would; where that cannot be done it stays the owner's alone.
void afterMove(State& s) {
    if (s.access != ReplaceAccess::AsBefore || s.target->ownList != nullptr) return;
    ACL empty{};
    if (!InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return;
    std::wstring moved = (pathOfHandle(s.folder->native()) / pathFromUtf8(s.leaf)).native();
    SetNamedSecurityInfoW(moved.data(), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                          nullptr, nullptr, &empty, nullptr);
}

}  // namespace talvers
