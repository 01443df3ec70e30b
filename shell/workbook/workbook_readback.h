#pragma once
// Reads a finished workbook back before it may replace anything: every part whole and
// well-formed (zip_check.h), and every sheet holding exactly the rows and cells that were
// handed to the workbook library (sheet_digest.h).
#include <string>
#include <vector>

#include "shell/files/byte_source.h"
#include "shell/workbook/sheet_digest.h"
#include "shell/workbook/workbook_progress.h"

namespace talvers {

// "" when `file` is whole and sheet i (the part xl/worksheets/sheet<i+1>.xml) holds what
// `written[i]` says; otherwise the reason in Portuguese, naming the sheet by `names[i]`.
// Throws StopRequested when a stop is requested meanwhile (by the program, or by `progress`).
std::string workbookProblem(ByteSource& file, const std::vector<SheetDigest>& written,
                            const std::vector<std::string>& names,
                            const WorkbookProgress* progress = nullptr);

}  // namespace talvers
