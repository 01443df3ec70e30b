// talvers-report: the command line. Runs one command and exits with its status; every failure
// ends as a message on stderr and status 1, never as an uncaught exception.
#include <clocale>
#include <iostream>

#include "apps/report_command.h"
#include "shell/command_options.h"
#include "shell/dataaccess/database_error.h"
#include "shell/settings_error.h"

namespace {

using talvers::ReportCommand;

constexpr ReportCommand kCommands[] = {
    {"check", "[--settings FILE]", talvers::runCheck},
    {"encode-password", "TEXT", talvers::runEncodePassword},
    {"pendentes", "[--settings FILE] [--date AAAA-MM-DD] --output FICHEIRO", talvers::runPendentes},
    {"fornecedor", "[--settings FILE] [--date AAAA-MM-DD] --output FICHEIRO",
     talvers::runFornecedor},
    {"aprovisionamento",
     "[--settings FILE] [--from AAAA-MM-DD] [--to AAAA-MM-DD] [--group CODIGO] [--family CODIGO] "
     "--output FICHEIRO",
     talvers::runAprovisionamento},
    {"lista", "armazens|grupos|familias [--settings FILE] [--group CODIGO]", talvers::runLista},
    {"series", "[--settings FILE] [--output FICHEIRO]", talvers::runSeries},
};

void printUsage(std::ostream& out) {
    out << "Utilização:\n";
    for (const ReportCommand& command : kCommands) {
        out << "  talvers-report " << command.name << ' ' << command.arguments << '\n';
    }
}

std::string failureText(std::string_view description, long number) {
    return "Erro: " + std::string(description) + "  " + std::to_string(number);
}

int run(int argc, char* argv[]) {
    if (argc < 2) {
        printUsage(std::cerr);
        return 1;
    }
    const std::string_view name = argv[1];
    for (const ReportCommand& command : kCommands) {
        if (command.name == name) return command.run({argv + 2, argv + argc});
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
    } catch (const talvers::UsageError& e) {
        std::cerr << e.what() << '\n';
        printUsage(std::cerr);
    } catch (const talvers::CommandFailure& e) {
        std::cerr << e.what() << '\n';
    } catch (const talvers::DatabaseError& e) {
        std::cerr << failureText(e.description(), e.number()) << '\n';
    } catch (const talvers::SettingsError& e) {
        std::cerr << failureText(e.description(), e.number()) << '\n';
    } catch (const std::exception& e) {
        std::cerr << failureText(e.what(), 0) << '\n';
    } catch (...) {
        std::cerr << failureText("falha desconhecida", 0) << '\n';
    }
    return 1;
}
