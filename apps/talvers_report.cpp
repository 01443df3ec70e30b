// talvers-report: the command line. Runs one command and exits with its status; every failure
// ends as a message on stderr and status 1, never as an uncaught exception. --help and
// --version answer on stdout with status 0.
#include <clocale>
#include <iostream>

#include "apps/report_command.h"
#include "shell/cli/command_options.h"
#include "shell/messages/messages.h"
#include "shell/startup.h"

namespace {

using talvers::ReportCommand;

const ReportCommand* const kCommands[] = {
    &talvers::kCheckCommand,          &talvers::kPendentesCommand,
    &talvers::kFornecedorCommand,     &talvers::kAprovisionamentoCommand,
    &talvers::kListaCommand,          &talvers::kSeriesCommand,
    &talvers::kEncodePasswordCommand,
};

constexpr std::string_view kProgram = "talvers-report";

void printUsage(std::ostream& out) {
    out << "Utilização: " << kProgram << " COMANDO [OPÇÕES]\n"
        << "Os relatórios do Talvers a partir da linha de comandos.\n\n"
        << "Comandos:\n";
    for (const ReportCommand* command : kCommands) {
        talvers::printCommandUsage(out, kProgram, command->syntax);
        out << '\n';
    }
    out << "Opções gerais:\n"
        << "  -h, --help    mostra esta ajuda (com um comando: só a dele) e termina\n"
        << "  --version     mostra o nome e a versão do programa e termina\n\n"
        << "Estado de saída: 0 feito, 2 sem informação para as condições solicitadas,\n"
        << "1 falha (a mensagem no erro padrão).\n";
}

std::string failureText(std::string_view description, long number) {
    return "Erro: " + std::string(description) + "  " + std::to_string(number);
}

// An engine's own words follow the message on a line of their own.
void printDetails(const std::string& details) {
    if (!details.empty()) std::cerr << "Detalhes: " << details << '\n';
}

void printCommandUsage(std::ostream& out, const ReportCommand& command) {
    out << "Utilização:\n";
    talvers::printCommandUsage(out, kProgram, command.syntax);
}

// A usage error is answered with the usage of the command it was made in.
int runCommand(const ReportCommand& command, const std::vector<std::string>& args) {
    if (talvers::wantsHelp(args)) {
        printCommandUsage(std::cout, command);
        return 0;
    }
    try {
        return command.run(talvers::CommandOptions(args, command.syntax.options));
    } catch (const talvers::UsageError& e) {
        std::cerr << e.what() << '\n';
        printCommandUsage(std::cerr, command);
        return 1;
    }
}

int run(int argc, char* argv[]) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 1;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h") {
        printUsage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << kProgram << ' ' << talvers::programVersionText() << '\n';
        return 0;
    }
    for (const ReportCommand* command : kCommands) {
        if (command->syntax.name == name) return runCommand(*command, {argv + 2, argv + argc});
    }
    std::cerr << "Comando desconhecido: " << name << '\n';
    printUsage(std::cerr);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    // UTF-8 text through ODBC needs the environment's locale; numbers written into workbooks
    // need the C library's own decimal point.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    try {
        return run(argc, argv);
    } catch (const talvers::CommandFailure& e) {
        std::cerr << e.what() << '\n';
        printDetails(e.details());
    } catch (const talvers::NumberedError& e) {
        std::cerr << failureText(e.description(), e.number()) << '\n';
        printDetails(e.details());
    } catch (const std::exception& e) {
        std::cerr << failureText(talvers::kUnexpectedFailure, 0) << '\n';
        printDetails(e.what());
    } catch (...) {
        std::cerr << failureText("falha desconhecida", 0) << '\n';
    }
    return 1;
}
