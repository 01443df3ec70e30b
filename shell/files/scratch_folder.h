#pragma once
// ScratchFolder: a private folder of the run under the system's temporary folder ($TMPDIR, else
// /tmp; the user's temporary folder on Windows), for the large intermediate files a library
// makes while it writes (the workbook library's uncompressed sheets). Keeping them there, and
// only the finished file beside the target, means the target's disk needs room for the new file
// and the old one alone, not for every intermediate: a nearly full stick or quota still takes a
// workbook that fits. It is made as every private folder is (private_folder.h): only this run's
// user may enter it, it is reached through its handle, and it goes when the run ends (what a
// killed run leaves is removed by the next).
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "shell/files/open_folder.h"
#include "shell/files/private_folder.h"

namespace talvers {

class ScratchFolder {
  public:
    // Throws FileError naming the temporary folder and the reason.
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // A path text reaching `name` inside (the folder itself when empty) through the folder's
    // handle, for libraries that take paths.
    std::string pathForLibrary(std::string_view name = {}) const {
        return folder_.pathForLibrary(name);
    }
    // Creates `name` inside, new and readable by its owner alone. Throws FileError.
    std::unique_ptr<OpenFile> createFile(std::string_view name) {
        return folder_.createFile(name, 0600);
    }
    // Why a write that failed without saying so most likely failed, or "".
    std::string likelyCause() const;

  private:
    std::filesystem::path location_;
    OpenFolder parent_;
    PrivateFolder folder_;
};

// The system's temporary folder for this user.
std::filesystem::path systemTemporaryFolder();

}  // namespace talvers
