#pragma once
// What tds-double is told on its command line (see doubleHelp() for each option).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talvers {

struct DoubleOptions {
    // Database names and their SQLite files, in the order given; the first is the default.
    std::vector<std::pair<std::string, std::filesystem::path>> catalogs;
    int port = 0;  // 0: a free one
    std::string user = "talvers";
    std::string password = "talvers";
    int level = 150;         // the databases' compatibility level
    int serverVersion = 15;  // 15: SQL Server 2019; 12: 2014, before the JSON functions
    int rowDelayMs = 0;      // before each row
    std::optional<std::uint64_t> failAfterRows;   // an error after this many rows of a result
    std::optional<std::uint64_t> closeAfterRows;  // the connection closed after this many
    int packetSize = 0;                           // 0: the client's
    bool textCollationUtf8 = false;
    std::filesystem::path trace;  // empty: none
    bool help = false;
};

// Reads the arguments (after the program's name). Throws std::invalid_argument with a
// one-line reason for an unknown option, a missing or malformed value, no --catalog.
DoubleOptions parseDoubleOptions(const std::vector<std::string>& args);

// The --help text.
std::string doubleHelp();

}  // namespace talvers
