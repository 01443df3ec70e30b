// talvers-report check: start up as the desktop program does and show what it would show.
#include <iostream>

#include "apps/command_session.h"
#include "apps/report_command.h"

namespace talvers {
namespace {

constexpr OptionSpec kOptions[] = {kSettingsOption};

int runCheck(const CommandOptions& options) {
    options.requirePositional(0, "nenhum argumento além de --settings");
    const Session session = openCommandSession(options);
    std::cout << "Empresa: " << session.caption << '\n'
              << "Variante: " << (session.companyVariant ? "Sim" : "Não") << '\n'
              << "Versão: " << session.versionText << '\n';
    return 0;
}

}  // namespace

const ReportCommand kCheckCommand{
    {"check", "", "Abre as duas ligações e mostra a empresa, a variante e a versão.", kOptions},
    runCheck};

}  // namespace talvers
