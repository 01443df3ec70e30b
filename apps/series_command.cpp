// talvers-report series: the serial-number stock check. Each message goes to standard output
// (a blank line between them); the findings workbook is written when --output is given.
#include <iostream>

#include "apps/command_session.h"
#include "apps/erp_session_of.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/output/console_report.h"
#include "shell/dataaccess/money.h"
#include "utility/serial_check.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    kSettingsOption,
    {"--output", "FICHEIRO", "o livro .xlsx das situações encontradas", "não escreve o livro"}};

int runSeries(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const auto output = outputOption(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    bool first = true;
    const Table findings = runSerialCheck(
        erpSessionOf(session),
        [&](const std::string& message) {
            if (!first) std::cout << '\n';
            first = false;
            // The message lines end in CR LF, as in the message box; a terminal wants LF.
            for (char c : message) {
                if (c != '\r') std::cout << c;
            }
        },
        userDecimalSeparator(), progress);
    std::cout.flush();
    if (!output) return 0;
    return deliverToFile(findings, serialCheckOutput(), *output, session);
}

}  // namespace

const ReportCommand kSeriesCommand{
    {"series", "", "Verifica o stock dos números de série e mostra as mensagens.", kOptions},
    runSeries};

}  // namespace talvers
