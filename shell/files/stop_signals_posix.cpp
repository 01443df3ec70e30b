#include <unistd.h>

#include <csignal>
#include <cstring>

#include "shell/files/stop_request.h"
#include "shell/files/stop_signals.h"

namespace talvers {
namespace {

// Made before any signal can arrive: the handler may only copy bytes out.
char interruptText[64];
char terminateText[64];

void keep(char (&into)[64], const std::string& text) {
    std::strncpy(into, text.c_str(), sizeof into - 1);
}

void onStopSignal(int signal) {
    requestStop(signal);
    // Once a new file is in place the run has done what it was for: it ends by itself.
    if (WriteUnderWay::any() || fileReplaced()) return;
    const char* text = signal == SIGINT ? interruptText : terminateText;
    const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
    _exit(stopStatus(signal));
}

}  // namespace

void installStopSignals() {
    keep(interruptText, "\n" + stopMessage(SIGINT) + "\n");
    keep(terminateText, stopMessage(SIGTERM) + "\n");
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes resume; the writes notice the request between their steps.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void ignoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace talvers
