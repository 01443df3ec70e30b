// talvers-report check: start up as the desktop program does and show what it would show.
#include <iostream>

#include "apps/command_session.h"
#include "apps/report_command.h"

namespace talvers {

int runCheck(const std::vector<std::string>& args) {
    const CommandOptions options(args, {"--settings"});
    options.requirePositional(0, "nenhum argumento além de --settings");
    const Session session = openCommandSession(options);
    std::cout << "Empresa: " << session.caption << '\n'
              << "Variante: " << (session.companyVariant ? "Sim" : "Não") << '\n'
              << "Versão: " << session.versionText << '\n';
    return 0;
}

}  // namespace talvers
