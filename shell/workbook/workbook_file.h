#pragma once
// Writes a report workbook through libxlsxwriter into a path the library opens, with the
// library's own temporary files in a folder given to it, and says what each sheet was handed.
// The layout is workbook_writer.h's; this part neither replaces nor checks any file.
#include <string>
#include <vector>

#include "shell/dataaccess/table.h"
#include "shell/workbook/sheet_digest.h"
#include "shell/workbook/workbook_progress.h"

namespace talvers {

// What the document properties say besides the title; an empty company is left out.
struct WorkbookProperties {
    std::string company;
};

// Writes sheet i named `sheetNames[i]` with title `sheetTitles[i]` and all of `rows` into
// `path`, the library's temporaries in `temporaryFolder`; the names must already be valid.
// Returns the digest of the cells handed to each sheet. Rows written are reported to
// `progress` when not null. Throws WorkbookFailure for any error the library reports (named
// after `displayName`), StopRequested when a stop is requested (by the program or `progress`).
std::vector<SheetDigest> writeWorkbookFile(const std::string& path,
                                           const std::string& temporaryFolder,
                                           const std::string& displayName,
                                           const std::vector<std::string>& sheetNames,
                                           const std::vector<std::string>& sheetTitles,
                                           const Table& rows, const WorkbookProperties& properties,
                                           WorkbookProgress* progress = nullptr);

}  // namespace talvers
