// talvers-report aprovisionamento: the provisioning workbook.
#include "apps/command_session.h"
#include "apps/erp_session_of.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "apps/report_requests.h"
#include "reports/frame/output/console_report.h"
#include "reports/provisioning/provisioning.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {kSettingsOption,         kProvisioningOptions[0],
                                   kProvisioningOptions[1], kProvisioningOptions[2],
                                   kProvisioningOptions[3], kOutputOption};

int runAprovisionamento(const CommandOptions& options) {
    options.requirePositional(0, "apenas as opções indicadas");
    const ProvisioningRequest request = provisioningRequest(options, DateTime::today());
    if (const std::string why = request.rangeRefusal(); !why.empty()) throw UsageError(why);
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    if (const std::string why = request.filterRefusal(session.companyVariant); !why.empty()) {
        throw UsageError(why);
    }
    ConsoleProgress progress;
    const Table rows = runProvisioning(erpSessionOf(session), request, progress);
    return deliverToFile(rows, provisioningOutput(), output, session);
}

}  // namespace

const ReportCommand kAprovisionamentoCommand{
    {"aprovisionamento", "", "Escreve o livro do mapa de aprovisionamento.", kOptions},
    runAprovisionamento};

}  // namespace talvers
