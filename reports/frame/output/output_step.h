#pragma once
// The output step every report ends with: with no rows, the no-data message; otherwise ask
// for a file name (empty = cancel: nothing written, nothing opened, no message), write the
// workbook with one sheet and the title prefix + today "dd-mm-yyyy", and open it — only when
// the write succeeded, so a failed write never shows a stale or missing file. The files in
// `protectedFiles` (the session's databases and settings, see files_in_use.h) are never
// replaced.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "reports/frame/report_output.h"
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

// Opens a written workbook with the desktop's default program; failures are ignored.
class FileOpener {
  public:
    virtual ~FileOpener() = default;
    virtual void open(const std::string& path) = 0;
};

enum class OutputOutcome { Written, NoData, Cancelled, Failed };

OutputOutcome deliverReport(const Table& rows, const ReportOutput& output, const DateTime& today,
                            FileNameProvider& files, MessagePresenter& messages, FileOpener& opener,
                            const std::vector<std::filesystem::path>& protectedFiles);

}  // namespace talvers
