#include "shell/files/safe_replace.h"

#include <cerrno>

#include "shell/files/safe_replace_state.h"

namespace talvers {
namespace {

constexpr const char* kNewName = "novo";
constexpr unsigned kOwnerOnly = 0600;
constexpr unsigned kPlainNewFile = 0666;  // less the process's umask, as any new file

}  // namespace

SafeReplace::SafeReplace(const std::string& fileName,
                         const std::vector<std::filesystem::path>& protectedFiles,
                         ReplaceAccess access)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.fileName = fileName;
    s.access = access;
    inspectTarget(s, protectedFiles);
    try {
        s.workspace = std::make_unique<PrivateFolder>(*s.folder);
        // The private folder keeps it from other users meanwhile; created as a plain new file
        // would be, it tells the access a new target gets.
        s.temporary = s.workspace->createFile(
            kNewName, access == ReplaceAccess::OwnerOnly ? kOwnerOnly : kPlainNewFile);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
}

SafeReplace::~SafeReplace() = default;

void SafeReplace::write(std::string_view bytes) {
    try {
        state_->temporary->writeAll(bytes);
    } catch (const FileError& failure) {
        state_->fail(failure);
    }
}

ByteSource& SafeReplace::contents() {
    try {
        state_->readBack = state_->temporary->reopenForReading();
    } catch (const FileError& failure) {
        state_->fail(failure);
    }
    return *state_->readBack;
}

std::string SafeReplace::likelyCause() const {
    if (state_->workspace->diskNearlyFull()) return fileErrorReason(ENOSPC);
    return state_->temporary->atSizeLimit() ? fileErrorReason(EFBIG) : "";
}

void SafeReplace::commit() {
    State& s = *state_;
    keepAccess(s);
    try {
        s.temporary->sync();
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    // The last point at which stopping leaves the old file in place.
    throwIfStopRequested();
    try {
        s.workspace->moveOut(kNewName, s.leaf);
    } catch (const FileError& failure) {
        s.fail(failure);
    }
    noteFileReplaced();
    try {
        s.folder->sync();
    } catch (const FileError& failure) {
        s.fail("o ficheiro foi substituído, mas a pasta não ficou gravada no disco: " +
                   failure.description(),
               static_cast<int>(failure.number()));
    }
    afterMove(s);
    s.readBack.reset();
    s.temporary.reset();
    s.workspace.reset();
}

}  // namespace talvers
