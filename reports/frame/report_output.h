#pragma once
// What a report's workbook is called: its one sheet's name, the title the date of the run is
// appended to, and the company its properties name.
#include <string>

namespace talvers {

struct ReportOutput {
    std::string sheetName;
    std::string titlePrefix;
    std::string company{};  // for the workbook's properties; "" leaves it out
};

}  // namespace talvers
