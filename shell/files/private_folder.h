#pragma once
// PrivateFolder: the folder where a run keeps every intermediate file of one write — its own
// and those of the libraries it hands a folder to. It sits inside the folder the result goes
// into (so the result moves into place by one rename), only this run's user may enter it, and
// it is reached through its handle, never again through its name: another user who may write
// to a shared folder can rename or swap that name, but cannot redirect anything done inside.
//
// It carries a mark (a small file inside), and the folder and the mark are locked while the
// run lives. The next run in the same folder removes what a killed run left: only private
// folders (owned by the same user, closed to others) whose lock nobody holds, and of those
// only the ones with the mark, or empty but for an unfinished mark (a run killed while making
// its folder). A file or folder that merely looks like one by its name is never touched.
//
// On a file system that keeps no Unix modes or owners (FAT, exFAT, NTFS through FUSE, an SMB
// share), recognised by what a new folder does there — it does not get the mode it was made
// with, and a change of mode does not hold — the folder is as private as that file system
// allows: the same for every user who can reach it. It is used all the same, and leftovers
// there are recognised by their mark and free lock alone. A folder that cannot be made private
// on a file system that does keep modes (one another user made under our name) is never used,
// and one this run made is removed at once.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/files/open_file.h"
#include "shell/files/open_folder.h"

namespace talvers {

class PrivateFolder {
  public:
    using Native = std::intptr_t;  // a descriptor on POSIX

    // Removes the leftovers of dead runs in `parent`, then makes this run's folder there.
    // Throws FileError with the folder's reason ("a pasta não permite criar ficheiros" when
    // the folder exists but takes no new entries). `parent` must outlive this object.
    explicit PrivateFolder(const OpenFolder& parent);
    // Removes every file inside, then the folder.
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // A path text that reaches `name` inside this folder (the folder itself when empty)
    // through the handle, for libraries that only take paths.
    std::string pathForLibrary(std::string_view name = {}) const;
    // Creates `name` inside, new, with `mode` (POSIX permission bits, 0666 gives a plain new
    // file's mode; the folder keeps it private meanwhile). Throws FileError.
    std::unique_ptr<OpenFile> createFile(std::string_view name, unsigned mode);
    // Moves `name` over `newName` in the parent folder in one step. Throws FileError.
    void moveOut(std::string_view name, const std::string& newName);
    // The free room on the folder's disk is nearly exhausted (in space or in entries).
    bool diskNearlyFull() const;
    // Whether the folder's file system keeps Unix modes (see above); false, modes set on the
    // files inside do not hold.
    bool keepsModes() const { return keepsModes_; }

  private:
    // Removes every file inside, then the folder, and closes it.
    void removeFolder();

    const OpenFolder& parent_;
    Native native_ = -1;
    std::string name_;
    std::unique_ptr<OpenFile> mark_;
    bool keepsModes_ = true;
};

// The names in `folder` of the private folders that dead runs left and that were removed
// (for the tests); what cannot be checked or removed stays. `keepsModes` false: the folder's
// file system keeps no modes, and a leftover is recognised by its mark and free lock alone.
std::vector<std::string> removeLeftoverPrivateFolders(const OpenFolder& folder,
                                                      bool keepsModes = true);

}  // namespace talvers
