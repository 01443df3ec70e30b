#pragma once
// The steps every command-line program takes around its work: answering its general options
// on standard output, printing a usage error as one line on standard error, and making sure
// that what it printed reached standard output before it reports success.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/cli/program_syntax.h"

namespace talvers {

// When `args` ask for the help (-h or --help before any "--") or the version (--version
// before any "--"), prints it on stdout and returns the exit status (0, or 1 when stdout
// could not be written); nullopt otherwise. `firstOnly`: only args[0] counts (a program with
// commands, whose commands answer their own --help).
std::optional<int> answerGeneralOptions(const ProgramSyntax& program,
                                        const std::vector<std::string>& args,
                                        std::string_view version, bool firstOnly);

// Prints usageMessage(program, helpCommand, text) on stderr and returns 1.
int reportUsageError(std::string_view program, std::string_view helpCommand, std::string_view text);

// `status` when everything printed on stdout reached it; otherwise says so on stderr and
// returns 1 (a report piped into a full disk must not look done).
int finishedStatus(std::string_view program, int status);

}  // namespace talvers
