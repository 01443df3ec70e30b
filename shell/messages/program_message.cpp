#include "shell/messages/program_message.h"

namespace talvers {

std::string programMessage(std::string_view program, std::string_view text) {
    if (program.empty()) return std::string(text);
    return std::string(program) + ": " + std::string(text);
}

std::string usageMessage(std::string_view program, std::string_view helpCommand,
                         std::string_view text) {
    std::string line(text);
    if (!line.ends_with('.')) line += '.';
    return programMessage(program,
                          line + " Experimente '" + std::string(helpCommand) + " --help'.");
}

}  // namespace talvers
