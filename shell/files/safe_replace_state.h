#pragma once
// What one replace knows while it works, shared by the steps every system takes alike
// (safe_replace.cpp) and the ones each system takes its own way (safe_replace_posix.cpp,
// safe_replace_win32.cpp). Private to shell/files.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/files/file_error.h"
#include "shell/files/open_file.h"
#include "shell/files/open_folder.h"
#include "shell/files/private_folder.h"
#include "shell/files/safe_replace.h"
#include "shell/files/stop_request.h"

namespace talvers {

// What the system says of the target before it is replaced (owner and mode, or access list),
// defined by each system.
struct TargetFacts;
struct TargetFactsDeleter {
    void operator()(TargetFacts* facts) const;
};

struct SafeReplace::State {
    std::string fileName;
    ReplaceAccess access = ReplaceAccess::AsBefore;
    WriteUnderWay underWay;
    // Destroyed in reverse: the new file closes, then the private folder goes.
    std::unique_ptr<OpenFolder> folder;
    std::string leaf;  // the name replaced in `folder`, UTF-8
    std::unique_ptr<TargetFacts, TargetFactsDeleter> target;
    std::unique_ptr<PrivateFolder> workspace;
    std::unique_ptr<OpenFile> temporary;
    std::unique_ptr<OpenFile> readBack;  // the new file opened anew, to be read back

    [[noreturn]] void fail(const std::string& reason, int errorNumber) const {
        throw FileError(errorNumber,
                        "Não foi possível gravar o ficheiro '" + fileName + "': " + reason);
    }
    [[noreturn]] void fail(const FileError& failure) const {
        fail(failure.description(), static_cast<int>(failure.number()));
    }
};

// Each system's steps. Finds the file really replaced (links followed): sets `folder`,
// `leaf` and `target`, and refuses what is not ours to replace. Throws FileError.
void inspectTarget(SafeReplace::State& state,
                   const std::vector<std::filesystem::path>& protectedFiles);
// Gives the new file the access it keeps once in place, before it is flushed.
void keepAccess(SafeReplace::State& state);
// What is left to do once the new file took the target's place.
void afterMove(SafeReplace::State& state);

}  // namespace talvers
