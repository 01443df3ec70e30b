#pragma once
// BatchTrace: the --trace file, shared by the connections' threads. Each batch received is
// appended as one line (line breaks written as \n, backslashes doubled) and flushed, so a
// test reads every batch sent before its statement returned.
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

namespace talvers {

class BatchTrace {
  public:
    // Throws std::runtime_error when the file cannot be opened for appending.
    explicit BatchTrace(const std::filesystem::path& file);
    void write(const std::string& batch);

  private:
    std::mutex mutex_;
    std::ofstream out_;
};

}  // namespace talvers
