#pragma once
// Which file a name or an open file is, whatever the path: the same device and inode (volume
// and file index on Windows). Two paths, hard links or symbolic links to one file have one
// identity, which is how files the program may not overwrite are recognised.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "shell/files/open_file.h"
#include "shell/files/open_folder.h"

namespace talvers {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file `path` names, following symbolic links; nullopt when there is
// none (missing, unreadable).
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);
// The identity of an open file. Throws FileError.
FileIdentity fileIdentity(const OpenFile& file);
// The identity of an open folder. Throws FileError.
FileIdentity fileIdentity(const OpenFolder& folder);
// Whether `identity` is one of `files` (those that exist).
bool isOneOf(const FileIdentity& identity, const std::vector<std::filesystem::path>& files);
// Whether the name `leaf` (UTF-8) in the folder known as `folder` is where one of `files` is or
// would be: the same folder and the same name, letter case aside (as Windows and FAT see
// names). This catches a file that does not exist yet, such as a database's journal.
bool namesOneOf(const FileIdentity& folder, std::string_view leaf,
                const std::vector<std::filesystem::path>& files);

}  // namespace talvers
