#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes out of scope.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/platform/utf8_path.h"

namespace talvers::testing {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // `name` is UTF-8, as every text in the program.
    std::filesystem::path operator/(const std::string& name) const {
        return path_ / pathFromUtf8(name);
    }

  private:
    std::filesystem::path path_;
};

// A file's bytes ("" when it cannot be read), a file written with `text`, and the names in a
// folder (UTF-8), sorted.
std::string fileBytes(const std::filesystem::path& path);
void writeText(const std::filesystem::path& path, const std::string& text);
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

}  // namespace talvers::testing
