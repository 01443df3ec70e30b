#pragma once
// What a report window needs from the desktop besides its session: the message boxes,
// the file-name dialog, the desktop's "open with the default program", today's date, whom to
// tell where a workbook was written, and the per-user store where the save dialog keeps its
// last folder. The desktop passes the real ones; tests inject scripted ones. A null file-name
// provider means the window's own dialog (SelecionaFicheiro); a null opener the desktop's; a
// null clock means the system's date; a null notice tells nobody; a null store keeps no
// folder.
#include <QSettings>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "reports/frame/output/output_step.h"
#include "shell/dataaccess/date_time.h"
#include "shell/desktop/common/saved_file_notice.h"
#include "shell/messages/messages.h"

namespace talvers {

struct ReportWindowServices {
    MessagePresenter* messages = nullptr;  // required
    FileNameProvider* files = nullptr;
    FileOpener* opener = nullptr;  // null: DesktopFileOpener
    std::function<DateTime()> today;
    SavedFileNotice saved;
    std::vector<std::filesystem::path> protectedFiles{};  // never replaced by an output
    std::string company{};       // the company named in the workbooks' properties
    QSettings* store = nullptr;  // the save dialog's last folder (report_file_dialog.h)
};

}  // namespace talvers
