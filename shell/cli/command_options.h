#pragma once
// CommandOptions: the arguments of one command, after the command's name, read against the
// command's declared options (CommandSyntax), from which the usage text is printed too, so
// the two cannot disagree. Every option takes one value, given as "--settings FICHEIRO" or
// "--settings=FICHEIRO"; any other argument that starts with "-" (a lone "-" aside) is a
// UsageError, as are an option without its value and an option given twice. Other arguments
// are positional, kept in order; after a lone "--" every argument is positional (so a
// password may start with "-").
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One option as the user types and reads it: "--date AAAA-MM-DD", one line of help, and what
// holds when it is not given ("" when nothing does). An empty argument is a flag ("--help"),
// which only the programs' general options are.
struct OptionSpec {
    std::string_view name;
    std::string_view argument;
    std::string_view help;
    std::string_view fallback;
    bool required = false;
};

// A command: its name, its positional arguments as shown in the usage ("" for none), one line
// saying what it does, and its options.
struct CommandSyntax {
    std::string_view name;
    std::string_view positional;
    std::string_view summary;
    std::span<const OptionSpec> options;
};

class CommandOptions {
  public:
    CommandOptions(const std::vector<std::string>& args, std::span<const OptionSpec> known);

    // The option's value, or nullopt when it was not given.
    std::optional<std::string> value(std::string_view option) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // Throws UsageError unless there are exactly `count` positional arguments.
    void requirePositional(size_t count, std::string_view what) const;

  private:
    std::map<std::string, std::string, std::less<>> values_;
    std::vector<std::string> positional_;
};

// "--date AAAA-MM-DD", or the name alone for a flag.
std::string optionText(const OptionSpec& option);

// Whether the arguments ask for help: "--help" or "-h" before any lone "--".
bool wantsHelp(const std::vector<std::string>& args);

// "  <program> <name> <positional> [--opt ARG] --required ARG", the summary, a blank line and
// one line per option with its help and fallback. `program` may be "" for a program without
// commands.
void printCommandUsage(std::ostream& out, std::string_view program, const CommandSyntax& syntax);

}  // namespace talvers
