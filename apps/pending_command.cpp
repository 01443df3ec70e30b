// talvers-report pendentes: the pending customer-orders workbook.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/output/console_report.h"
#include "reports/pending/pending_orders.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    kSettingsOption,
    {"--date", "AAAA-MM-DD", "a data a partir da qual contam as encomendas", "há um ano"},
    kOutputOption};

int runPendentes(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const DateTime start = dateOption(options, "--date", DateTime::today().oneYearEarlier());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows =
        runPendingOrders(*session.bd, *session.bdExt, start, progress, session.settings.lookupMode);
    return deliverToFile(rows, pendingOrdersOutput(), output, session);
}

}  // namespace

const ReportCommand kPendentesCommand{
    {"pendentes", "", "Escreve o livro das encomendas pendentes.", kOptions}, runPendentes};

}  // namespace talvers
