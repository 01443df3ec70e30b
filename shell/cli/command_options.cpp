#include "shell/cli/command_options.h"

#include <algorithm>

namespace talvers {
namespace {

constexpr size_t kOptionColumn = 28;

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

}  // namespace

CommandOptions::CommandOptions(const std::vector<std::string>& args,
                               std::span<const OptionSpec> known) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            positional_.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (std::none_of(known.begin(), known.end(),
                                [&](const OptionSpec& spec) { return spec.name == arg; })) {
            throw UsageError("Opção desconhecida: " + arg);
        } else if (i + 1 == args.size()) {
            throw UsageError("Falta o valor da opção " + arg);
        } else if (!values_.emplace(arg, args[++i]).second) {
            throw UsageError("Opção repetida: " + arg);
        }
    }
}

std::optional<std::string> CommandOptions::value(std::string_view option) const {
    const auto it = values_.find(option);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void CommandOptions::requirePositional(size_t count, std::string_view what) const {
    if (positional_.size() != count) {
        throw UsageError("Argumentos errados: esperado " + std::string(what));
    }
}

bool wantsHelp(const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end, [](const std::string& arg) { return isHelp(arg); });
}

void printCommandUsage(std::ostream& out, std::string_view program, const CommandSyntax& syntax) {
    out << "  " << program;
    if (!program.empty() && !syntax.name.empty()) out << ' ';
    out << syntax.name;
    if (!syntax.positional.empty()) out << ' ' << syntax.positional;
    for (const OptionSpec& option : syntax.options) {
        out << ' ' << (option.required ? "" : "[") << option.name << ' ' << option.argument
            << (option.required ? "" : "]");
    }
    out << "\n      " << syntax.summary << '\n';
    // The blank line sets the options apart as a list (for the manual page too).
    if (!syntax.options.empty()) out << '\n';
    for (const OptionSpec& option : syntax.options) {
        std::string left = "      " + std::string(option.name) + ' ' + std::string(option.argument);
        left.resize(std::max(left.size() + 2, kOptionColumn), ' ');
        out << left << option.help;
        if (!option.fallback.empty()) out << " (omissão: " << option.fallback << ')';
        out << '\n';
    }
}

}  // namespace talvers
