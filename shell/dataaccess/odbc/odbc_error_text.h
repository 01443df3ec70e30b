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
// column). `number` is the first record's native error number: SQL Server's own numbers for a
// refused login (18456) and a database it cannot open (4060) decide first, since FreeTDS
// gives them the general state 42000.
std::string odbcErrorText(const std::vector<std::string>& states, std::string_view engineText,
                          long number = 0);

}  // namespace talvers
