#pragma once
// The date text of CONVERT(DATETIME, '...', 102) in the form SQLite compares with dates stored
// as ISO text: "yyyy-mm-dd" when the time is midnight (so that >= also matches values stored
// without a time) and "yyyy-mm-dd hh:mm:ss" otherwise. Accepts "yyyy-mm-dd" or "yyyy.mm.dd",
// surrounding blanks, and an optional " hh:mm" or " hh:mm:ss". An impossible date or time, or
// any other form, throws DatabaseError(kTsqlRewriteError).
#include <string>
#include <string_view>

namespace talvers {

std::string sqliteDateFromStyle102(std::string_view text);

}  // namespace talvers
