#include "shell/cli/program_run.h"

#include <algorithm>
#include <iostream>

#include "shell/cli/standard_output.h"
#include "shell/messages/program_message.h"

namespace talvers {

std::optional<int> answerGeneralOptions(const ProgramSyntax& program,
                                        const std::vector<std::string>& args,
                                        std::string_view version, bool firstOnly) {
    const auto end = firstOnly ? args.begin() + std::min<size_t>(args.size(), 1)
                               : std::find(args.begin(), args.end(), "--");
    const std::vector<std::string> considered(args.begin(), end);
    if (wantsHelp(considered)) {
        printProgramHelp(std::cout, program);
    } else if (std::find(considered.begin(), considered.end(), "--version") != considered.end()) {
        printProgramVersion(std::cout, program, version);
    } else {
        return std::nullopt;
    }
    return finishedStatus(program.name, 0);
}

int reportUsageError(std::string_view program, std::string_view helpCommand,
                     std::string_view text) {
    std::cerr << usageMessage(program, helpCommand, text) << std::endl;
    return 1;
}

int finishedStatus(std::string_view program, int status) {
    const std::string failure = flushStandardOutput();
    if (failure.empty()) return status;
    std::cerr << programMessage(program,
                                "não foi possível escrever na saída padrão (" + failure + ").")
              << std::endl;
    return 1;
}

}  // namespace talvers
