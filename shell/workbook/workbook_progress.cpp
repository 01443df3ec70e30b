#include "shell/workbook/workbook_progress.h"

#include <cerrno>

#include "shell/files/stop_request.h"

namespace talvers {

void throwIfWriteStopped(const WorkbookProgress* progress) {
    throwIfStopRequested();
    if (progress && progress->stopWanted()) {
        throw StopRequested(ECANCELED, "a gravação foi abandonada a pedido do utilizador");
    }
}

}  // namespace talvers
