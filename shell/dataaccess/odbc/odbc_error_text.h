#pragma once
// Portuguese descriptions of the ODBC drivers' common failures, by SQLSTATE, one sentence each;
// the drivers' own text becomes the error's details.
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

// `states` are the SQLSTATEs of the driver's diagnostic records in order; the first one with
// a description of its own decides (a connection failure often starts with a general
// warning). `engineText` is the drivers' messages (read for the name of a missing table or
// column).
std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText);

}  // namespace talvers
