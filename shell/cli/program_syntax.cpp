#include "shell/cli/program_syntax.h"

#include <algorithm>

namespace talvers {
namespace {

constexpr size_t kGeneralColumn = 16;

constexpr size_t kHelpWidth = 79;

// The description's paragraphs filled to the help's width (counting UTF-8 characters).
void printWrapped(std::ostream& out, std::string_view text) {
    size_t column = 0;
    size_t start = 0;
    while (start < text.size()) {
        if (text.substr(start, 2) == "\n\n") {
            out << "\n\n";
            column = 0;
            start += 2;
            continue;
        }
        size_t end = text.find_first_of(" \n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view word = text.substr(start, end - start);
        size_t width = 0;
        for (char c : word) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (column > 0 && column + 1 + width > kHelpWidth) {
            out << '\n';
            column = 0;
        } else if (column > 0) {
            out << ' ';
            ++column;
        }
        out << word;
        column += width;
        start = end;
        if (start < text.size() && text[start] == ' ') ++start;
        if (start < text.size() && text[start] == '\n' && text.substr(start, 2) != "\n\n") ++start;
    }
}

bool hasNamedCommands(const ProgramSyntax& program) {
    return std::any_of(program.commands.begin(), program.commands.end(),
                       [](const CommandSyntax* command) { return !command->name.empty(); });
}

}  // namespace

void printProgramHelp(std::ostream& out, const ProgramSyntax& program) {
    out << "Utilização:";
    if (!program.arguments.empty()) out << ' ' << program.name << ' ' << program.arguments;
    out << '\n';
    if (hasNamedCommands(program)) {
        printWrapped(out, program.description);
        out << "\n\nComandos:\n";
        for (const CommandSyntax* command : program.commands) {
            printCommandUsage(out, program.name, *command);
            out << '\n';
        }
    } else {
        for (const CommandSyntax* command : program.commands) {
            printCommandUsage(out, program.name, *command);
        }
        out << '\n';
        printWrapped(out, program.description);
        out << "\n\n";
    }
    out << "Opções gerais:\n";
    for (const OptionSpec& option : program.generalOptions) {
        std::string left = "  " + optionText(option);
        left.resize(std::max(left.size() + 2, kGeneralColumn), ' ');
        out << left << option.help << '\n';
    }
    if (!program.exitStatus.empty()) {
        out << "\nEstado de saída:";
        for (const ProgramNote& status : program.exitStatus) {
            out << "\n  " << status.term << "  " << status.text;
        }
        out << '\n';
    }
}

void printProgramVersion(std::ostream& out, const ProgramSyntax& program,
                         std::string_view version) {
    out << program.name << ' ' << version << '\n';
}

}  // namespace talvers
