// talvers-report encode-password TEXT: the value to store as "Password" in the settings file.
#include <iostream>

#include "apps/report_command.h"
#include "shell/cli/command_options.h"
#include "shell/settings/password_codec.h"

namespace talvers {
namespace {

int runEncodePassword(const CommandOptions& options) {
    options.requirePositional(1, "a palavra-passe (TEXT)");
    std::cout << encodePassword(options.positional().front()) << '\n';
    return 0;
}

}  // namespace

const ReportCommand kEncodePasswordCommand{
    {"encode-password",
     "TEXTO",
     "Mostra o valor a guardar como Password no ficheiro de definições.",
     {}},
    runEncodePassword};

}  // namespace talvers
