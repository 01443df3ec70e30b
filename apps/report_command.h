#pragma once
// The commands of talvers-report. Each command is one function in its own file
// (<name>_command.cpp) and one line in the table of talvers_report.cpp. A command parses its
// own arguments with CommandOptions, does its work and returns the exit status: 0 done,
// 2 no data, 1 failure. It reports failures by throwing — UsageError for wrong arguments,
// CommandFailure with a finished message, DatabaseError or SettingsError — and main prints
// the message on stderr and exits with 1.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

using CommandFunction = int (*)(const std::vector<std::string>& args);

struct ReportCommand {
    std::string_view name;
    std::string_view arguments;  // for the usage text
    CommandFunction run;
};

// A failure whose message is ready for the user.
class CommandFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

int runCheck(const std::vector<std::string>& args);
int runEncodePassword(const std::vector<std::string>& args);
int runPendentes(const std::vector<std::string>& args);
int runFornecedor(const std::vector<std::string>& args);
int runAprovisionamento(const std::vector<std::string>& args);
int runLista(const std::vector<std::string>& args);
int runSeries(const std::vector<std::string>& args);

}  // namespace talvers
