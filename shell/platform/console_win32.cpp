#include <windows.h>

#include <io.h>

#include <cstdlib>

#include "shell/platform/console.h"

namespace talvers {
namespace {

// The console outlives the program (the command prompt it ran from): its code page goes back.
UINT consoleCodePageBefore = 0;

void restoreConsoleCodePage() {
    SetConsoleOutputCP(consoleCodePageBefore);
}

}  // namespace

bool standardErrorIsTerminal() {
    return _isatty(2) != 0;
}

void useUtf8Console() {
    consoleCodePageBefore = GetConsoleOutputCP();
    // No console (output to a file or a pipe, or a program without one): the bytes go as they
    // are, UTF-8.
    if (consoleCodePageBefore == 0 || consoleCodePageBefore == CP_UTF8) return;
    if (SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsoleCodePage);
}

}  // namespace talvers
