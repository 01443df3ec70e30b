// talvers-report aprovisionamento: the provisioning workbook.
#include "apps/command_session.h"
#include "apps/report_command.h"
#include "apps/report_delivery.h"
#include "reports/frame/output/console_report.h"
#include "reports/provisioning/provisioning.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {
    kSettingsOption,
    {"--from", "AAAA-MM-DD", "o primeiro dia das vendas", "1 de janeiro deste ano"},
    {"--to", "AAAA-MM-DD", "o último dia das vendas", "hoje"},
    {"--group", "CODIGO", "só os artigos deste grupo", "todos"},
    {"--family", "CODIGO", "só os artigos desta família", "todas"},
    kOutputOption};

int runAprovisionamento(const CommandOptions& options) {
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

}  // namespace

const ReportCommand kAprovisionamentoCommand{
    {"aprovisionamento", "", "Escreve o livro do mapa de aprovisionamento.", kOptions},
    runAprovisionamento};

}  // namespace talvers
