#pragma once
// The one form every message of a command-line program takes on its standard error:
// "<program>: <text>", so that a message in a script's log says who wrote it. A text of
// several lines is prefixed once, at its start.
#include <string>
#include <string_view>

namespace talvers {

// "talvers-report: " + text; the text alone when `program` is empty.
std::string programMessage(std::string_view program, std::string_view text);

// A usage error as one line that points at the help of `helpCommand` ("talvers-report
// pendentes"): "<program>: <text>. Experimente '<helpCommand> --help'."
std::string usageMessage(std::string_view program, std::string_view helpCommand,
                         std::string_view text);

}  // namespace talvers
