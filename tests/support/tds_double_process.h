#pragma once
// TdsDoubleProcess: the build's tds-double, started for one test with the given options and
// the two ERP fixture databases (or any catalogs), ended when the object goes (its standard
// input is closed, as a parent that leaves closes it). settings() are the ODBC settings that
// reach it through FreeTDS. POSIX only.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/dataaccess/connection_settings.h"

namespace talvers::testing {

class TdsDoubleProcess {
  public:
    // `arguments` are tds-double's options (--catalog ... included). Throws std::runtime_error
    // when it does not start and print its port within ten seconds.
    explicit TdsDoubleProcess(std::vector<std::string> arguments);
    ~TdsDoubleProcess();
    TdsDoubleProcess(const TdsDoubleProcess&) = delete;
    TdsDoubleProcess& operator=(const TdsDoubleProcess&) = delete;

    int port() const { return port_; }
    // SQL Server settings for `database` on the double through FreeTDS, user and password
    // talvers (the double's defaults), deadlines as given.
    ConnectionSettings settings(const std::string& database,
                                const ConnectionDeadlines& deadlines = {}) const;
    // Waits up to ten seconds for the process to end by itself; its exit status (128 + the
    // signal's number when a signal ended it), or -1.
    int waitForExit();
    // Sends `signal` and waits as waitForExit() does.
    int endWith(int signal);
    // Closes its standard input, as a parent that ends does, and waits likewise.
    int endByClosingInput();

  private:
    int pid_ = -1;
    int stdin_ = -1;
    int port_ = 0;
};

// The program's path in the build.
std::string tdsDoublePath();

// The lines of a --trace file (each batch received), line breaks as the double wrote them.
std::vector<std::string> traceLines(const std::filesystem::path& file);

}  // namespace talvers::testing
