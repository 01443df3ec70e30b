// talvers-report aprovisionamento: the provisioning workbook.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/console_report.h"
#include "reports/provisioning/provisioning.h"

namespace talvers {

int runAprovisionamento(const std::vector<std::string>& args) {
    const CommandOptions options(
        args, {"--settings", "--from", "--to", "--group", "--family", "--output"});
    options.requirePositional(0, "apenas as opções indicadas");
    const DateTime today = DateTime::today();
    ProvisioningFilter filter;
    filter.firstDate = dateOption(options, "--from", {today.year, 1, 1, 0, 0, 0});
    filter.lastDate = dateOption(options, "--to", today);
    filter.group = options.value("--group").value_or("");
    filter.family = options.value("--family").value_or("");
    const std::string output = requiredOutput(options);
    Session session = openCommandSession(options);
    ConsoleProgress progress;
    const Table rows = runProvisioning(*session.bd, session.companyVariant, filter, progress);
    return deliverToFile(rows, provisioningOutput(), output, session);
}

}  // namespace talvers
