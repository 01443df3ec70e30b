#pragma once
// The output step every report ends with: with no rows, the no-data message; otherwise ask
// for a file name (empty = cancel: nothing written, nothing opened, no message), write the
// workbook with one sheet and the title prefix + today "dd-mm-yyyy", and open it — only when
// the write succeeded, so a failed write never shows a stale or missing file. When the
// desktop cannot open the written file, openFailureText() says so (the workbook stays
// written). The files in `protectedFiles` (the session's databases and settings, see
// files_in_use.h) are never replaced. `progress`, when given, counts the rows written and may
// abandon the write (ReportProgress::cancelRequested): the old file then stays as it was, and
// the writer's failure message goes to `messages` (a window that is closing may drop it).
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/date_time.h"
#include "shell/dataaccess/table.h"
#include "shell/messages/messages.h"

namespace talvers {

inline constexpr std::string_view kExcelFilter = "Ficheiros de excel (*.xlsx)|*.xlsx";

// Asks the user for the output file; returns "" when the user cancels or the dialog fails.
class FileNameProvider {
  public:
    virtual ~FileNameProvider() = default;
    virtual std::string chooseFileName(std::string_view filter) = 0;
};

// Opens a file or a folder with the desktop's default program; false when the desktop could
// not (no program for the file's type, no desktop at all).
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    virtual bool open(const std::string& path) = 0;
};

// A name the user typed without an extension is kept as typed; such a file may then not open
// by a double click, which the program says beside the file's name.
inline constexpr std::string_view kNoExtensionNote =
    "Sem a extensão .xlsx, o ficheiro pode não abrir com duplo clique.";

// Whether the name ends in ".xlsx" (any letter case).
bool hasWorkbookExtension(std::string_view fileName);

// The message for a written workbook the desktop could not open: it names the file, and adds
// kNoExtensionNote when the name has no ".xlsx".
std::string openFailureText(const std::string& fileName);

enum class OutputOutcome { Written, NoData, Cancelled, Failed };

OutputOutcome deliverReport(const Table& rows, const ReportOutput& output, const DateTime& today,
                            FileNameProvider& files, MessagePresenter& messages, FileOpener& opener,
                            const std::vector<std::filesystem::path>& protectedFiles,
                            ReportProgress* progress = nullptr);

}  // namespace talvers
