#include "shell/cli/command_options.h"

#include <algorithm>

namespace talvers {
namespace {

constexpr size_t kOptionColumn = 28;

bool isHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// "-x", "--xyz" and "--"; a lone "-" is an argument (it often names standard input).
bool looksLikeOption(std::string_view arg) {
    return arg.size() > 1 && arg.front() == '-';
}

}  // namespace

CommandOptions::CommandOptions(const std::vector<std::string>& args,
                               std::span<const OptionSpec> known) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--output=x.xlsx" is "--output x.xlsx"; only long options take that form.
        const size_t equals = arg.starts_with("--") ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        if (std::none_of(known.begin(), known.end(),
                         [&](const OptionSpec& spec) { return spec.name == name; })) {
            throw UsageError("Opção desconhecida: " + name);
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 == args.size()) {
            throw UsageError("Falta o valor da opção " + name);
        } else {
            value = args[++i];
        }
        if (!values_.emplace(name, std::move(value)).second) {
            throw UsageError("Opção repetida: " + name);
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

std::string optionText(const OptionSpec& option) {
    std::string text(option.name);
    if (!option.argument.empty()) text += " " + std::string(option.argument);
    return text;
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
        out << ' ' << (option.required ? "" : "[") << optionText(option)
            << (option.required ? "" : "]");
    }
    out << "\n      " << syntax.summary << '\n';
    // The blank line sets the options apart as a list (for the manual page too).
    if (!syntax.options.empty()) out << '\n';
    for (const OptionSpec& option : syntax.options) {
        std::string left = "      " + optionText(option);
        left.resize(std::max(left.size() + 2, kOptionColumn), ' ');
        out << left << option.help;
        if (!option.fallback.empty()) out << " (omissão: " << option.fallback << ')';
        out << '\n';
    }
}

}  // namespace talvers
