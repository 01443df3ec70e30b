#pragma once
// Writes rows as a formatted .xlsx workbook: one sheet per name, every sheet with all rows.
// Row 1: the title, merged over the n columns, bold 20, white on red, centred. Row 2 empty.
// Row 3: field names, bold, centred, white on red. Rows 4..3+r: data on a light blue fill.
// Widths and number formats follow each field's type. Rows are streamed, so memory does not
// grow with the row count. The document properties carry the first sheet's title, the
// company and the program's name and version (a custom property "Aplicação": the library
// writes no application name of its own choosing). The file is written in a private folder of
// the run beside the target, with the library's own temporary files, then read back and proven
// to hold every row and cell that was written (workbook_readback.h), flushed and moved over
// the target (see safe_replace.h for the targets refused, among them `protectedFiles`: the open
// database files and the settings file). On any failure — a stop request too — the failure
// message is shown through `messages`, nothing is left half-written, an existing target is
// untouched, and false is returned. `progress`, when given, hears of each row written and may
// abandon the write at its next safe point (workbook_progress.h), which fails the same way.
#include <filesystem>
#include <string>
#include <vector>

#include "shell/dataaccess/table.h"
#include "shell/messages/messages.h"
#include "shell/workbook/workbook_file.h"
#include "shell/workbook/workbook_progress.h"

namespace talvers {

bool writeWorkbook(const std::vector<std::string>& sheetNames,
                   const std::vector<std::string>& sheetTitles, const std::string& fileName,
                   const Table& rows, MessagePresenter& messages,
                   const WorkbookProperties& properties = {},
                   const std::vector<std::filesystem::path>& protectedFiles = {},
                   WorkbookProgress* progress = nullptr);

}  // namespace talvers
