#pragma once
// What the report commands share: reading their date options and handing the rows to the
// output step with the --output file, messages on stderr and nothing opened.
#include <optional>
#include <string>
#include <string_view>

#include "reports/frame/output/output_step.h"
#include "shell/cli/command_options.h"
#include "shell/dataaccess/date_time.h"
#include "shell/startup.h"

namespace talvers {

inline constexpr OptionSpec kOutputOption{"--output", "FICHEIRO", "o livro .xlsx a escrever", "",
                                          true};

// The date of `option` ("YYYY-MM-DD"), or `fallback` when the option was not given. A value
// that is not a valid date, or one outside kFirstServerDate..kLastServerDate, is a UsageError.
DateTime dateOption(const CommandOptions& options, std::string_view option, DateTime fallback);
// The --output value, nullopt when not given; a UsageError when it is empty or has an
// extension other than .xlsx (letter case aside; a name without one is taken as it is).
std::optional<std::string> outputOption(const CommandOptions& options);
// outputOption(), a UsageError when it is missing.
std::string requiredOutput(const CommandOptions& options);
// Writes the workbook, naming the session's company in its properties, and returns the exit
// status (0 written, 2 no data, 1 failure). The session's own files (Session::filesInUse) are
// refused as targets.
int deliverToFile(const Table& rows, const ReportOutput& output, const std::string& path,
                  const Session& session);

}  // namespace talvers
