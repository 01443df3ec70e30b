#pragma once
// How a report sheet prints: landscape A4, the field names (row 3) at the top of every page,
// "Página N de M" in the footer, and a size at which the text stays readable. A sheet that fits
// one page wide at 50 % or more is fitted to one page wide (and as many pages long as it
// needs), its title row on page 1 as the sheet shows it. A wider one would print too small that
// way: it prints at a fixed scale of at least 50 %, as many pages wide as it needs, the pages of
// one band of rows side by side, page 1 with as many columns as fit. The scale is the largest
// that needs no more pages across than 50 % would. Its title, merged over columns that several
// pages share, would be cut or lost on page 1: such a sheet prints from the headings on, with
// the title in the page header of every page, whole whatever the font and the pages across.
//
// Only the heading row repeats: rows and columns given together are one union of ranges,
// which some spreadsheets drop whole, and a repeated title row taller than the others makes
// LibreOffice count a band of empty pages at the end.
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
    bool fitOnePageWide = true;  // the spreadsheet chooses the scale (never below 50 %)
    int scale = 100;             // percent, used when not fitted
    int pagesWide = 1;           // pages across at that scale
};

// The print layout for columns of these widths (an empty list fits one page).
PrintLayout printLayoutFor(const std::vector<double>& columnWidths);

// The smallest scale in percent at which fitting one page wide prints these columns (100
// when they fit as they are).
int fittedScale(const std::vector<double>& columnWidths);

// Pages across at `scale` percent when not fitted: columns go onto a page while they fit; a
// column wider than a page takes a page of its own.
int printedPagesWide(const std::vector<double>& columnWidths, int scale);

// The page header that carries `title` centred and bold ("&" doubled, as the header codes
// start with it).
std::string titleHeader(const std::string& title);

// Sets the sheet's print setup for the table's columns and rows (widths as columnLayoutFor
// gives them) and its title. Throws WorkbookFailure when the library refuses a setting.
void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName, const Table& rows,
                   const std::string& title);

}  // namespace talvers
