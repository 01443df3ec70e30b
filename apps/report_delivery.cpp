#include "apps/report_delivery.h"

#include <cctype>
#include <filesystem>
#include <iostream>

#include "apps/report_program.h"
#include "reports/frame/date_refusal.h"
#include "reports/frame/output/console_report.h"
#include "shell/messages/console_presenter.h"
#include "shell/platform/utf8_path.h"
#include "shell/settings/files_in_use.h"

namespace talvers {

DateTime dateOption(const CommandOptions& options, std::string_view option, DateTime fallback) {
    const auto text = options.value(option);
    if (!text) return fallback;
    const std::string why = dateRefusal(option, *text, DateOrder::YearFirst);
    if (!why.empty()) throw UsageError(why);
    return *parseDate(*text, DateOrder::YearFirst);
}

std::optional<std::string> outputOption(const CommandOptions& options) {
    const auto path = options.value("--output");
    if (!path) return std::nullopt;
    if (path->empty()) throw UsageError("Falta o nome do livro em --output.");
    // As the window's file dialog: a name without an extension is taken as it is.
    std::string extension = utf8FromPath(pathFromUtf8(*path).extension());
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!extension.empty() && extension != ".xlsx") {
        throw UsageError("O livro tem de ter a extensão .xlsx: '" + *path + "'.");
    }
    return path;
}

std::string requiredOutput(const CommandOptions& options) {
    const auto path = outputOption(options);
    if (!path) throw UsageError("Falta --output FICHEIRO.");
    return *path;
}

int deliverToFile(const Table& rows, const ReportOutput& output, const std::string& path,
                  const Session& session) {
    ReportOutput named = output;
    named.company = companyName(session.caption);
    FixedFileName files(path);
    ConsolePresenter messages(std::cerr, kReportProgramName);
    NoOpener opener;
    return exitCodeFor(deliverReport(rows, named, DateTime::today(), files, messages, opener,
                                     session.filesInUse));
}

}  // namespace talvers
