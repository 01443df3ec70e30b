// talvers-report pendentes: the pending customer-orders workbook.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/console_report.h"
#include "reports/pending/pending_orders.h"

namespace talvers {

int runPendentes(const std::vector<std::string>& args) {
    const CommandOptions options(args, {"--settings", "--date", "--output"});
    options.requirePositional(0, "apenas as opções indicadas");
    const DateTime start = dateOption(options, "--date", DateTime::today().oneYearEarlier());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows = runPendingOrders(*session.bd, *session.bdExt, start, progress);
    return deliverToFile(rows, pendingOrdersOutput(), output, session);
}

}  // namespace talvers
