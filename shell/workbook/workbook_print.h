#pragma once
// How a report sheet prints: landscape A4, the title and the field names (rows 1 to 3) at the
// top of every page, "Página N de M" in the footer, and a size at which the text stays
// readable. A sheet that fits one page wide at 50 % or more is fitted to one page wide (and
// as many pages long as it needs). A wider one would print too small that way: it prints at a
// fixed scale of at least 50 %, as many pages wide as it needs, with its first column
// repeated on every page so that each page still says which row it shows. The scale is the
// largest that needs no more pages across than 50 % would.
//
// Widths are the spreadsheet's character units (those of worksheet_set_column); the page is
// measured as the spreadsheet measures it: a column of w units is w * 7 + 5 pixels of 0.75
// pt, and an A4 landscape page leaves 841.9 - 2 * 50.4 pt between the default margins.
#include <string>
#include <vector>

#include <xlsxwriter.h>

#include "shell/dataaccess/table.h"

namespace talvers {

struct PrintLayout {
    bool fitOnePageWide = true;      // the spreadsheet chooses the scale (never below 50 %)
    int scale = 100;                 // percent, used when not fitted
    int pagesWide = 1;               // pages across at that scale
    bool repeatFirstColumn = false;  // column A on every page across
};

// The print layout for columns of these widths (an empty list fits one page).
PrintLayout printLayoutFor(const std::vector<double>& columnWidths);

// The smallest scale in percent at which fitting one page wide prints these columns (100
// when they fit as they are).
int fittedScale(const std::vector<double>& columnWidths);

// Pages across at `scale` percent when not fitted: columns go onto a page while they fit
// beside the repeated first column (when it is repeated); a column wider than a page takes a
// page of its own.
int printedPagesWide(const std::vector<double>& columnWidths, int scale, bool repeatFirstColumn);

// Sets the sheet's print setup for its table's columns (widths as columnLayoutFor gives
// them). Throws WorkbookFailure when the library refuses a setting.
void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName, const Table& rows);

}  // namespace talvers
