#include "reports/frame/output/output_step.h"

#include <optional>

#include "shell/workbook/workbook_writer.h"

namespace talvers {
namespace {

// The report's progress sink hears of the rows written, and its stop request abandons the
// write.
class WriteProgress : public WorkbookProgress {
  public:
    explicit WriteProgress(ReportProgress& report) : report_(report) {}
    void rowsWritten(size_t written, size_t count) override {
        report_.advance(static_cast<long>(written), static_cast<long>(count));
    }
    bool stopWanted() const override { return report_.cancelRequested(); }

  private:
    ReportProgress& report_;
};

}  // namespace

bool hasWorkbookExtension(std::string_view fileName) {
    constexpr std::string_view kExtension = ".xlsx";
    if (fileName.size() < kExtension.size()) return false;
    const std::string_view end = fileName.substr(fileName.size() - kExtension.size());
    for (size_t i = 0; i < end.size(); ++i) {
        const char c =
            end[i] >= 'A' && end[i] <= 'Z' ? static_cast<char>(end[i] - 'A' + 'a') : end[i];
        if (c != kExtension[i]) return false;
    }
    return true;
}

std::string openFailureText(const std::string& fileName) {
    std::string text = "O ficheiro \"" + fileName +
                       "\" foi gravado, mas o ambiente de trabalho não o conseguiu abrir: "
                       "não há nenhum programa associado a este tipo de ficheiro.";
    if (!hasWorkbookExtension(fileName)) text += "\n" + std::string(kNoExtensionNote);
    return text;
}

OutputOutcome deliverReport(const Table& rows, const ReportOutput& output, const DateTime& today,
                            FileNameProvider& files, MessagePresenter& messages, FileOpener& opener,
                            const std::vector<std::filesystem::path>& protectedFiles,
                            ReportProgress* progress) {
    if (rows.rowCount() < 1) {
        showMessage(messages, "", kNoDataMessage, 2);
        return OutputOutcome::NoData;
    }
    const std::string fileName = files.chooseFileName(kExcelFilter);
    if (fileName.empty()) return OutputOutcome::Cancelled;
    const std::string title = output.titlePrefix + today.dmyDate();
    std::optional<WriteProgress> written;
    if (progress) written.emplace(*progress);
    if (!writeWorkbook({output.sheetName}, {title}, fileName, rows, messages,
                       {.company = output.company}, protectedFiles,
                       written ? &*written : nullptr)) {
        // The writer has told the user; opening the file now would show a stale or missing
        // workbook as if it were this report.
        return OutputOutcome::Failed;
    }
    if (!opener.open(fileName)) showMessage(messages, "", openFailureText(fileName), 2);
    return OutputOutcome::Written;
}

}  // namespace talvers
