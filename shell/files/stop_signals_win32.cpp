#include <windows.h>

#include <csignal>
#include <string>

#include "shell/files/stop_request.h"
#include "shell/files/stop_signals.h"

namespace talvers {
namespace {

// Made before any event can arrive: the handler runs on a thread of its own, while the
// program may be anywhere.
std::string interruptText;
std::string terminateText;

// Ctrl-C and Ctrl-Break are the console's interrupt; closing the console, logging off and
// shutting down ask the program to end, as SIGTERM does.
BOOL WINAPI onConsoleEvent(DWORD event) {
    const int signal = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM;
    requestStop(signal);
    // A write under way stops at its next safe point and the program then ends by itself.
    // Once a new file is in place the run has done what it was for: it ends by itself.
    if (WriteUnderWay::any() || fileReplaced()) return TRUE;
    const std::string& text = signal == SIGINT ? interruptText : terminateText;
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
    ExitProcess(static_cast<UINT>(stopStatus(signal)));
}

}  // namespace

void installStopSignals() {
    interruptText = "\n" + stopMessage(SIGINT) + "\n";
    terminateText = stopMessage(SIGTERM) + "\n";
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

// Windows has no file-size limit signal: an oversized write fails by itself.
void ignoreFileSizeLimitSignal() {}

}  // namespace talvers
