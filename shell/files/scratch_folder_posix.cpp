#include <cstdlib>

#include "shell/files/scratch_folder.h"

namespace talvers {

// $TMPDIR when it names a folder by its full path, as the system's tools take it; else /tmp.
std::filesystem::path systemTemporaryFolder() {
    const char* named = std::getenv("TMPDIR");
    if (named != nullptr && named[0] == '/') return named;
    return "/tmp";
}

}  // namespace talvers
