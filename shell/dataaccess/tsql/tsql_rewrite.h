#pragma once
// The SQLite backend's translation of the program's T-SQL texts. It works on tokens, so the
// inside of a literal is never touched, and it knows a closed set of constructs:
//   SELECT TOP (n) / TOP n      -> the TOP removed, " LIMIT n" at the end of that SELECT
//   CONVERT(DATETIME, 'd', 102) -> 'yyyy-mm-dd' (midnight) or 'yyyy-mm-dd hh:mm:ss', which
//                                  compares as text with dates stored in ISO form
//   text + text                 -> ||, for every + of a chain with an evidently text operand
//   dbo. / [dbo].               -> removed
//   N'...'                      -> '...'
//   OPENJSON(x) / JSON_VALUE(x, p) -> json_each(x) / json_extract(x, p)
// Function calls are limited to a known list. Anything it does not know — an unknown
// function, @variables, DECLARE/CREATE/ALTER/DROP, WITH hints, TOP elsewhere, another CONVERT
// form, text mixed with subtraction or numbers, date arithmetic, a second statement — throws
// DatabaseError(kTsqlRewriteError, Portuguese description), never a guess. Where no rewrite
// applies the text is returned byte for byte.
#include <string>

#include "shell/dataaccess/tsql/tsql_tokenizer.h"

namespace talvers {

std::string rewriteTsqlForSqlite(const std::string& tsql);

}  // namespace talvers
