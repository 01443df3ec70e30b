#pragma once
// The path of a file or folder the program holds open on Windows, as the system resolved it
// (links followed), for the calls that take a path inside a folder held open.
#include <cstdint>
#include <filesystem>

namespace talvers {

// The full path of the open `native` handle. Throws FileError.
std::filesystem::path pathOfHandle(std::intptr_t native);

}  // namespace talvers
