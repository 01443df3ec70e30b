#pragma once
// How a report sheet prints: landscape A4, fitted to one page wide and as many pages long as
// it needs, with the title and the field names (rows 1 to 3) at the top of every page and
// "Página N de M" in the footer. Throws WorkbookFailure when the library refuses a setting.
#include <string>

#include <xlsxwriter.h>

namespace talvers {

void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName);

}  // namespace talvers
