#pragma once
// Portuguese descriptions of the ODBC drivers' common failures, by SQLSTATE, the drivers' text
// kept in parentheses.
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

// `states` are the SQLSTATEs of the driver's diagnostic records in order; the first one with
// a description of its own decides (a connection failure often starts with a general
// warning). `engineText` is the drivers' messages.
std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText);

}  // namespace talvers
