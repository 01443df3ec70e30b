#pragma once
// A file the program only appends lines to (the statement trace), under the rules of every
// file it writes: it must be a regular file or a new one — a FIFO, a device, a socket or a
// folder is refused without waiting on it — and never one of the files the program works on.
// Every write is whole or reported.
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "shell/files/open_file.h"

namespace talvers {

class AppendFile {
  public:
    // Opens `file` for appending, creating it when missing. Throws FileError whose
    // description is the reason alone, in Portuguese: a file that is one of `protectedFiles`
    // (by device and inode, so any link to one is caught), one that is not a regular file, or
    // one that cannot be opened.
    AppendFile(const std::filesystem::path& file,
               const std::vector<std::filesystem::path>& protectedFiles);
    // Appends `bytes` at the end of the file; throws FileError (the reason alone) when not
    // all of them were written.
    void append(std::string_view bytes);

  private:
    std::unique_ptr<OpenFile> file_;
};

}  // namespace talvers
