#include "shell/command_options.h"

#include <algorithm>

namespace talvers {

CommandOptions::CommandOptions(const std::vector<std::string>& args,
                               std::initializer_list<std::string_view> knownOptions) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !arg.starts_with("--")) {
            positional_.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (std::find(knownOptions.begin(), knownOptions.end(), arg) == knownOptions.end()) {
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

}  // namespace talvers
