#pragma once
// The commands of talvers-report. Each command is one ReportCommand in its own file
// (<name>_command.cpp), declaring its options once, and one line in the table of
// talvers_report.cpp, which parses the arguments against those options (and prints the usage
// from them). A command does its work and returns the exit status: 0 done, 2 no data,
// 1 failure. It reports failures by throwing — UsageError for wrong arguments,
// CommandFailure with a finished message, DatabaseError or SettingsError — and main prints
// the message on stderr and exits with 1.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "shell/cli/command_options.h"

namespace talvers {

using CommandFunction = int (*)(const CommandOptions& options);

struct ReportCommand {
    CommandSyntax syntax;
    CommandFunction run;
};

// A failure whose message is ready for the user; `details` is an engine's own text, printed
// on a line of its own.
class CommandFailure : public std::runtime_error {
  public:
    explicit CommandFailure(const std::string& message, std::string details = {})
        : std::runtime_error(message), details_(std::move(details)) {}
    const std::string& details() const { return details_; }

  private:
    std::string details_;
};

extern const ReportCommand kCheckCommand;
extern const ReportCommand kEncodePasswordCommand;
extern const ReportCommand kPendentesCommand;
extern const ReportCommand kFornecedorCommand;
extern const ReportCommand kAprovisionamentoCommand;
extern const ReportCommand kListaCommand;
extern const ReportCommand kSeriesCommand;

}  // namespace talvers
