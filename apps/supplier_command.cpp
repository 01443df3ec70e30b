// talvers-report fornecedor: customer orders by supplier, in the company's variant.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/output/console_report.h"
#include "reports/supplier/orders_by_supplier.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    kSettingsOption,
    {"--date", "AAAA-MM-DD", "a data a partir da qual contam as encomendas", "há um ano"},
    kOutputOption};

int runFornecedor(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const DateTime start = dateOption(options, "--date", DateTime::today().oneYearEarlier());
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows = runOrdersBySupplier(session.companyVariant, *session.bd, *session.bdExt,
                                           start, progress, session.settings.lookupMode);
    return deliverToFile(rows, ordersBySupplierOutput(session.companyVariant), output, session);
}

}  // namespace

const ReportCommand kFornecedorCommand{
    {"fornecedor", "", "Escreve o livro das encomendas de cliente por fornecedor.", kOptions},
    runFornecedor};

}  // namespace talvers
