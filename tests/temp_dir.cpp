#include "tests/temp_dir.h"

#include <random>
#include <string>

namespace talvers::testing {

TempDir::TempDir() {
    std::random_device rd;
    std::mt19937_64 gen(rd());
    for (;;) {
        path_ = std::filesystem::temp_directory_path() / ("talvers-test-" + std::to_string(gen()));
        if (std::filesystem::create_directory(path_)) return;
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made the folder read-only; give the rights back before removing it.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        }
    }
    std::filesystem::remove_all(path_, ec);
}

}  // namespace talvers::testing
