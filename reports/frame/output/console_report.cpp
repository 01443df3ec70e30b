#include "reports/frame/output/console_report.h"

#include <cstdio>

#include "shell/platform/console.h"

namespace talvers {

ConsoleProgress::ConsoleProgress() : live_(standardErrorIsTerminal()) {}

ConsoleProgress::~ConsoleProgress() {
    if (shown_) std::fputc('\n', stderr);
}

void ConsoleProgress::advance(long position, long count) {
    if (!live_) return;
    // Repainting every row would cost more than the row itself on a slow terminal.
    if (position != count && position % 100 != 0) return;
    std::fprintf(stderr, "\ra processar .... %ld/%ld", position, count);
    std::fflush(stderr);
    shown_ = true;
}

int exitCodeFor(OutputOutcome outcome) {
    switch (outcome) {
        case OutputOutcome::Written:
            return 0;
        case OutputOutcome::NoData:
            return 2;
        case OutputOutcome::Cancelled:
        case OutputOutcome::Failed:
            return 1;
    }
    return 1;
}

}  // namespace talvers
