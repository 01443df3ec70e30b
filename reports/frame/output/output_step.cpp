#include "reports/frame/output/output_step.h"

#include "shell/workbook/workbook_writer.h"

namespace talvers {

OutputOutcome deliverReport(const Table& rows, const ReportOutput& output, const DateTime& today,
                            FileNameProvider& files, MessagePresenter& messages, FileOpener& opener,
                            const std::vector<std::filesystem::path>& protectedFiles) {
    if (rows.rowCount() < 1) {
        showMessage(messages, "", kNoDataMessage, 2);
        return OutputOutcome::NoData;
    }
    const std::string fileName = files.chooseFileName(kExcelFilter);
    if (fileName.empty()) return OutputOutcome::Cancelled;
    const std::string title = output.titlePrefix + today.dmyDate();
    if (!writeWorkbook({output.sheetName}, {title}, fileName, rows, messages,
                       {.company = output.company}, protectedFiles)) {
        // The writer has told the user; opening the file now would show a stale or missing
        // workbook as if it were this report.
        return OutputOutcome::Failed;
    }
    opener.open(fileName);
    return OutputOutcome::Written;
}

}  // namespace talvers
