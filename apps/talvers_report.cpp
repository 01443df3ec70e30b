// talvers-report: the command line. Runs one command and exits with its status; every failure
// ends as a message on stderr ("talvers-report: ...") and status 1, never as an uncaught
// exception. --help and --version answer on stdout with status 0.
#include <clocale>
#include <iostream>

#include "apps/report_program.h"
#include "shell/cli/command_options.h"
#include "shell/cli/program_run.h"
#include "shell/files/stop_request.h"
#include "shell/files/stop_signals.h"
#include "shell/messages/messages.h"
#include "shell/messages/numbered_error.h"
#include "shell/messages/program_message.h"
#include "shell/platform/program_main.h"
#include "shell/startup.h"

namespace {

using talvers::kReportProgramName;
using talvers::ReportCommand;

std::string failureText(std::string_view description, long number) {
    return "Erro: " + std::string(description) + "  " + std::to_string(number);
}

// A usage error is one line that points at the help of the command it was made in.
int runCommand(const ReportCommand& command, const std::vector<std::string>& args) {
    const std::string helpCommand =
        std::string(kReportProgramName) + ' ' + std::string(command.syntax.name);
    if (talvers::wantsHelp(args)) {
        std::cout << "Utilização:\n";
        talvers::printCommandUsage(std::cout, kReportProgramName, command.syntax);
        return 0;
    }
    try {
        return command.run(talvers::CommandOptions(args, command.syntax.options));
    } catch (const talvers::UsageError& e) {
        return talvers::reportUsageError(kReportProgramName, helpCommand, e.what());
    }
}

int run(const std::vector<std::string>& arguments) {
    const std::vector<std::string> args(arguments.begin() + 1, arguments.end());
    if (const auto answered = talvers::answerGeneralOptions(talvers::reportProgram(), args,
                                                            talvers::programVersionText(), true)) {
        return *answered;
    }
    if (args.empty()) {
        return talvers::reportUsageError(kReportProgramName, kReportProgramName, "Falta o comando");
    }
    const std::string& name = args.front();
    for (const ReportCommand* command : talvers::reportCommands()) {
        if (command->syntax.name == name)
            return runCommand(*command, {args.begin() + 1, args.end()});
    }
    return talvers::reportUsageError(kReportProgramName, kReportProgramName,
                                     "Comando desconhecido: " + name);
}

// Every failure ends as a message and status 1, never as an uncaught exception.
int guardedRun(const std::vector<std::string>& arguments) {
    std::string failure;
    std::string details;  // the engine's own words, on a line of their own
    try {
        return talvers::finishedStatus(kReportProgramName, run(arguments));
    } catch (const talvers::CommandFailure& e) {
        failure = e.what();
        details = e.details();
    } catch (const talvers::NumberedError& e) {
        failure = failureText(e.description(), e.number());
        details = e.details();
    } catch (const std::exception& e) {
        failure = failureText(talvers::kUnexpectedFailure, 0);
        details = e.what();
    } catch (...) {
        failure = failureText("falha desconhecida", 0);
    }
    std::cerr << talvers::programMessage(kReportProgramName, failure) << '\n';
    if (!details.empty()) std::cerr << "Detalhes: " << details << '\n';
    return 1;
}

}  // namespace

int talvers::runProgram(const std::vector<std::string>& arguments) {
    // UTF-8 text through ODBC needs the environment's locale; numbers written into workbooks
    // need the C library's own decimal point.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    // Ctrl-C or a termination request during a write stops it cleanly (the old workbook
    // stays); the run then ends with the signal's status.
    talvers::installStopSignals();
    talvers::ignoreFileSizeLimitSignal();
    const int status = guardedRun(arguments);
    if (const int signal = talvers::stopSignal()) {
        // A stop that came once the workbook was in place leaves it there: the run did its work.
        if (talvers::fileReplaced()) {
            if (status == 0) std::cerr << talvers::stopAfterWriteMessage(signal) << '\n';
            return status;
        }
        std::cerr << talvers::stopMessage(signal) << '\n';
        return talvers::stopStatus(signal);
    }
    return status;
}
