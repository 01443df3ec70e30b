#pragma once
// The key tables a set-based lookup joins, named k: a column n (the key's 0-based position in
// the statement), then one column per key part, named and typed as the lookup says ('T' a
// text, 'N' a whole number). The parts come from sendableParts(), so numbers are whole.
//
// Two forms with the same columns and the same comparisons:
//  - valuesKeyTable: "(values (0, 'A'), (1, 'B')) as k(n, Artigo)", the keys spliced as the
//    reference texts splice them. Any SQL Server takes it, but the text grows with every key,
//    so a statement carries a bounded chunk of them.
//  - jsonKeyTable: every key in one JSON text, one inner array of strings per key, unpacked
//    by OPENJSON (SQL Server 2016 and later, at database compatibility level 130 or more;
//    json_each on SQLite). One statement answers all the keys of a run. The JSON goes in an
//    ordinary '...' literal (not N'...'), so a character outside the database's code page
//    becomes what it becomes in the reference text's literal; text parts are cast back to
//    varchar, the type of that literal, so a varchar column is compared without converting
//    it (and its index still serves). Number parts travel as strings ("007" is no JSON
//    number) and are cast to bigint on the server, as the bare 007 of the reference is read.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "reports/lookup/keyed_lookup.h"

namespace talvers {

std::string valuesKeyTable(std::span<const LookupKey> keys, const std::vector<std::string>& columns,
                           std::string_view kinds);

std::string jsonKeyTable(std::span<const LookupKey> keys, const std::vector<std::string>& columns,
                         std::string_view kinds);

// The JSON string (with its quotes) of a text: only '"', '\' and the control characters are
// escaped, everything else goes as it is.
std::string jsonString(std::string_view text);

}  // namespace talvers
