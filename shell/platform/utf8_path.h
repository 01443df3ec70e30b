#pragma once
// Paths are UTF-8 texts inside the program and whatever the system takes at its API: bytes on
// Linux, UTF-16 on Windows. std::filesystem::path built from a std::string reads the bytes in
// the Windows ANSI code page (so "João" becomes "JoÃ£o"), and path::string() does not give back
// what that constructor takes; every path made from a text, and every text made from a path,
// crosses here instead.
#include <filesystem>
#include <string>
#include <string_view>

namespace talvers {

// The path a UTF-8 text names. Invalid UTF-8 is not refused here: on Windows the system then
// refuses the path, on Linux the bytes are the name.
std::filesystem::path pathFromUtf8(std::string_view text);

// The path as UTF-8 text, spelled as the path holds it (not the generic form: parts the program
// joins are separated by a backslash on Windows, as a Windows user reads them).
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace talvers
