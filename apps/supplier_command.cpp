// talvers-report fornecedor: customer orders by supplier, in the company's variant.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/console_report.h"
#include "reports/supplier/orders_by_supplier.h"

namespace talvers {

int runFornecedor(const std::vector<std::string>& args) {
    const CommandOptions options(args, {"--settings", "--date", "--output"});
    options.requirePositional(0, "apenas as opções indicadas");
    const DateTime start = dateOption(options, "--date", DateTime::today().oneYearEarlier());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows =
        runOrdersBySupplier(session.companyVariant, *session.bd, *session.bdExt, start, progress);
    return deliverToFile(rows, ordersBySupplierOutput(session.companyVariant), output, session);
}

}  // namespace talvers
