#pragma once
// The benchmarks' yardstick: a table written straight through libxlsxwriter in constant-memory
// mode with the report layout's formats (title, header, fills, number format, widths, frozen
// header, filter), without the report writer's checks, temporary file and rename.
#include <string>

#include "shell/dataaccess/table.h"

namespace talvers {

bool writeBareWorkbook(const Table& rows, const std::string& file, const std::string& sheet,
                       const std::string& title);

}  // namespace talvers
