// talvers-report pendentes: the pending customer-orders workbook.
#include "apps/command_session.h"
#include "apps/erp_session_of.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "apps/report_requests.h"
#include "reports/frame/output/console_report.h"
#include "reports/pending/pending_orders.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {kSettingsOption, kStartDateOption, kOutputOption};

int runPendentes(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const PendingOrdersRequest request = pendingOrdersRequest(options, DateTime::today());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows = runPendingOrders(erpSessionOf(session), request, progress);
    return deliverToFile(rows, pendingOrdersOutput(), output, session);
}

}  // namespace

const ReportCommand kPendentesCommand{
    {"pendentes", "", "Escreve o livro das encomendas pendentes.", kOptions}, runPendentes};

}  // namespace talvers
