#include "shell/cli/man_page.h"

#include <string>

namespace talvers {
namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

// "--date AAAA-MM-DD" as bold option and italic argument.
std::string optionRoff(const OptionSpec& option) {
    std::string text = "\\fB" + roffText(option.name) + "\\fR";
    if (!option.argument.empty()) text += " \\fI" + roffText(option.argument) + "\\fR";
    return text;
}

void section(std::ostream& out, std::string_view title) {
    out << ".SH \"" << title << "\"\n";
}

// Paragraphs are separated by blank lines in the declaration.
void paragraphs(std::ostream& out, std::string_view text) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find("\n\n", start);
        const std::string_view part = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        out << ".PP\n" << roffText(part) << '\n';
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
}

void notes(std::ostream& out, std::span<const ProgramNote> list, const char* termFont) {
    for (const ProgramNote& note : list) {
        out << ".TP\n"
            << termFont << roffText(note.term) << "\\fR\n"
            << roffText(note.text) << '\n';
    }
}

std::string commandLine(const ProgramSyntax& program, const CommandSyntax& command) {
    std::string line = "\\fB" + roffText(program.name);
    if (!command.name.empty()) line += " " + roffText(command.name);
    line += "\\fR";
    if (!command.positional.empty()) line += " \\fI" + roffText(command.positional) + "\\fR";
    for (const OptionSpec& option : command.options) {
        line += option.required ? " " + optionRoff(option) : " [" + optionRoff(option) + "]";
    }
    return line;
}

void optionList(std::ostream& out, std::span<const OptionSpec> options) {
    for (const OptionSpec& option : options) {
        out << ".TP\n" << optionRoff(option) << '\n' << roffText(option.help);
        if (!option.fallback.empty()) out << " (omissão: " << roffText(option.fallback) << ')';
        out << '\n';
    }
}

}  // namespace

std::string roffText(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

void writeManPage(std::ostream& out, const ProgramSyntax& program, std::string_view version,
                  std::string_view date) {
    out << ".TH \"" << upper(program.name) << "\" 1 \"" << date << "\" \"Talvers " << version
        << "\" \"Comandos do utilizador\"\n";
    section(out, "NOME");
    out << roffText(program.name) << " \\- " << roffText(program.summary) << '\n';

    section(out, "SINOPSE");
    bool first = true;
    for (const CommandSyntax* command : program.commands) {
        if (!first) out << ".br\n";
        first = false;
        out << commandLine(program, *command) << '\n';
    }
    out << ".br\n\\fB" << roffText(program.name)
        << "\\fR \\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR\n";

    section(out, "DESCRIÇÃO");
    paragraphs(out, program.description);
    const bool named = !program.commands.empty() && !program.commands.front()->name.empty();
    if (named) {
        out << ".SS Comandos\n";
        for (const CommandSyntax* command : program.commands) {
            out << ".TP\n\\fB" << roffText(command->name) << "\\fR";
            if (!command->positional.empty())
                out << " \\fI" << roffText(command->positional) << "\\fR";
            out << '\n' << roffText(command->summary) << '\n';
        }
    }

    section(out, "OPÇÕES");
    for (const CommandSyntax* command : program.commands) {
        if (command->options.empty()) continue;
        if (named) out << ".SS \"" << roffText(command->name) << "\"\n";
        optionList(out, command->options);
    }
    if (named) out << ".SS \"Opções gerais\"\n";
    optionList(out, program.generalOptions);

    section(out, "ESTADO DE SAÍDA");
    notes(out, program.exitStatus, "\\fB");
    section(out, "FICHEIROS");
    notes(out, program.files, "\\fI");
    section(out, "AMBIENTE");
    notes(out, program.environment, "\\fB");
    section(out, "EXEMPLOS");
    for (const ProgramNote& example : program.examples) {
        out << ".PP\n"
            << roffText(example.text) << "\n.PP\n.RS\n.nf\n"
            << roffText(example.term) << "\n.fi\n.RE\n";
    }
    if (!program.seeAlso.empty()) {
        section(out, "VEJA TAMBÉM");
        for (size_t i = 0; i < program.seeAlso.size(); ++i) {
            const std::string_view page = program.seeAlso[i];
            const size_t open = page.find('(');
            out << ".BR " << roffText(page.substr(0, open)) << " \"" << page.substr(open)
                << (i + 1 < program.seeAlso.size() ? ",\"" : "\"") << '\n';
        }
    }
}

}  // namespace talvers
