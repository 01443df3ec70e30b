// talvers-report fornecedor: customer orders by supplier, in the company's variant.
#include "apps/command_session.h"
#include "apps/erp_session_of.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "apps/report_requests.h"
#include "reports/frame/output/console_report.h"
#include "reports/supplier/orders_by_supplier.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {kSettingsOption, kStartDateOption, kOutputOption};

int runFornecedor(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const OrdersBySupplierRequest request = ordersBySupplierRequest(options, DateTime::today());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows = runOrdersBySupplier(erpSessionOf(session), request, progress);
    return deliverToFile(rows, ordersBySupplierOutput(session.companyVariant), output, session);
}

}  // namespace

const ReportCommand kFornecedorCommand{
    {"fornecedor", "", "Escreve o livro das encomendas de cliente por fornecedor.", kOptions},
    runFornecedor};

}  // namespace talvers
