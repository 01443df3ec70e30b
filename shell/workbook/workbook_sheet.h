#pragma once
// Writes one report sheet into a workbook opened in constant-memory mode: the title merged
// over the columns in row 1, the field names in row 3 and every row of the table from row 4
// on, each data cell on the data fill (empty cells too, so the fill covers the whole block).
// Rows 1 to 3 stay frozen above the data and row 3 carries the filter buttons; row 1 is
// tall enough for the title. How it prints is workbook_print.h's choice (a sheet several
// pages across carries its title in the page header).
// Texts are written exactly (leading blanks kept); money, integers and doubles as numbers;
// date-times as their "yyyy-mm-dd" or "yyyy-mm-dd hh:mm:ss" text. A text longer than a
// cell's limit of 32767 characters is cut there. Every cell handed to the library is added to
// `digest`, for the read-back of the finished file. Throws WorkbookFailure on any error of the
// library, StopRequested when a stop is requested; the workbook is then unusable and must be
// freed.
#include <string>

#include <xlsxwriter.h>

#include "shell/dataaccess/table.h"
#include "shell/workbook/sheet_digest.h"
#include "shell/workbook/workbook_formats.h"
#include "shell/workbook/workbook_progress.h"

namespace talvers {

// Where a sheet's rows stand among all the rows a workbook write hands over: the rows of the
// sheets before it, and the rows of every sheet together.
struct SheetRows {
    size_t before = 0;
    size_t all = 0;
};

// `sheetName` must already be valid for the workbook. Each data row written is reported to
// `progress` (when not null) counted among `place`, and each is a safe point to stop at.
void writeSheet(lxw_workbook* workbook, const WorkbookFormats& formats,
                const std::string& sheetName, const std::string& title, const Table& rows,
                SheetDigest& digest, WorkbookProgress* progress = nullptr, SheetRows place = {});

}  // namespace talvers
