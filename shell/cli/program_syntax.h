#pragma once
// ProgramSyntax: everything a program says about how it is used — its commands and their
// options (command_options.h), its general options, exit status, files, environment and
// examples — declared once, from which both its --help text and its manual page are made
// (man_page.h), so that the two cannot disagree with what the parser accepts.
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

#include "shell/cli/command_options.h"

namespace talvers {

// One entry of a list in the help or the manual page: "0" and what that status means, a
// variable and what it does, an example's command line and what it does.
struct ProgramNote {
    std::string_view term;
    std::string_view text;
};

struct ProgramSyntax {
    std::string_view name;       // "talvers-report"
    std::string_view arguments;  // after the name in the first usage line ("" : none)
    std::string_view summary;    // the manual page's one-line name, lower case, no full stop
    std::string_view description;
    // Commands, each with its options; a program without commands has one with name "".
    std::vector<const CommandSyntax*> commands;
    std::span<const OptionSpec> generalOptions;  // flags, "-h, --help" and "--version"
    std::span<const ProgramNote> exitStatus;
    std::span<const ProgramNote> files;
    std::span<const ProgramNote> environment;
    std::span<const ProgramNote> examples;
    std::span<const std::string_view> seeAlso;  // "talvers-report(1)"
};

// The general options every program has.
inline constexpr OptionSpec kGeneralOptions[] = {
    {"-h, --help", "", "mostra esta ajuda e termina", ""},
    {"--version", "", "mostra o nome e a versão do programa e termina", ""}};

// The --help text: usage line, description, each command's usage (printCommandUsage), the
// general options and the exit status.
void printProgramHelp(std::ostream& out, const ProgramSyntax& program);

// "<program> <version>", the --version text.
void printProgramVersion(std::ostream& out, const ProgramSyntax& program, std::string_view version);

}  // namespace talvers
