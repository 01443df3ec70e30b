#pragma once
// Where a name the program writes to really leads: its symbolic links are followed one at a
// time, each from the folder it was found in, so that the file is then reached through its
// folder's descriptor. A walk of our own bypasses the rules the kernel applies to its own
// lookups in shared folders (fs.protected_symlinks, fs.protected_regular), so it applies them
// itself, whatever the system's settings:
//  - in a folder others may write to (writable by everybody, or sticky) a link is followed
//    only when it belongs to the user running the program or to the folder's owner: anybody
//    else's link there may be a trap laid for whoever writes to that name;
//  - a link that leads to no file is never followed to create one, wherever it is;
//  - in a sticky folder that others may write to, an existing file that belongs to neither
//    the user running the program nor the folder's owner is not ours to replace or to append
//    to (the super-user included).
// The folders on the way to the name (and to each link's text) are opened by the system,
// under its own rules. POSIX only: the POSIX sides of SafeReplace and AppendFile use it.
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>

#include "shell/files/open_folder.h"

namespace talvers {

struct WriteTarget {
    std::unique_ptr<OpenFolder> folder;  // the folder the file is in, or will be made in
    std::string leaf;                    // its name there (UTF-8), never a link
    struct stat folderInfo {};
    std::optional<struct stat> file;  // what the name is, when it exists
};

// Finds the target of `fileName` (UTF-8, as the user gave it). Throws FileError whose
// description is the reason alone, in Portuguese, naming a refused link and its owner.
WriteTarget findWriteTarget(const std::string& fileName);

// Throws FileError when `file`, found or opened as `target`, is not ours to write to by the
// sticky-folder rule above: for a file that appeared after findWriteTarget looked.
void refuseOthersFileInStickyFolder(const WriteTarget& target, const struct stat& file);

}  // namespace talvers
