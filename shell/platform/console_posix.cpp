#include <unistd.h>

#include "shell/platform/console.h"

namespace talvers {

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

void useUtf8Console() {}

}  // namespace talvers
