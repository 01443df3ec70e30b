#pragma once
// Zip files for tests: the parts of one (inflated, in the order of its index), and a zip made
// of given parts, stored uncompressed and whole by its own index.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace talvers::testing {

using ZipParts = std::vector<std::pair<std::string, std::string>>;

// Throws std::runtime_error when the file is no zip this reader knows.
ZipParts zipParts(const std::filesystem::path& file);
std::string storedZip(const ZipParts& parts);

}  // namespace talvers::testing
