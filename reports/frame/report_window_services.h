#pragma once
// What a report window needs from the desktop besides its connections: the message boxes,
// the file-name dialog, the desktop's "open with the default program", and today's date.
// The desktop passes the real ones; tests inject scripted ones. A null file-name provider
// means the window's own dialog (SelecionaFicheiro); a null clock means the system's date.
#include <filesystem>
#include <functional>
#include <vector>

#include "reports/frame/output_step.h"
#include "shell/dataaccess/date_time.h"
#include "shell/messages.h"

namespace talvers {

struct ReportWindowServices {
    MessagePresenter* messages = nullptr;  // required
    FileNameProvider* files = nullptr;
    FileOpener* opener = nullptr;  // null: QDesktopServices
    std::function<DateTime()> today;
    std::vector<std::filesystem::path> protectedFiles;  // never replaced by an output
};

}  // namespace talvers
