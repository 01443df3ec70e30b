#pragma once
// How a lookup's rows become a cell, for the lookups the pending-orders and the supplier
// reports share: only the first row counts, and a lookup without rows has its own text.
#include <string>
#include <string_view>

#include "reports/lookup/keyed_lookup.h"
#include "shell/dataaccess/table.h"

namespace talvers {

// The first row's column cut to `size` characters, or `none` when there is no row.
std::string firstText(const Table& rows, std::string_view column, size_t size, const char* none);

// The supplier name: the first 80 characters of NOME with line feeds made blanks, or " ".
std::string lastSupplierName(const Table& rows);

// The Lisbon lookups' key of a whole document key "type/year/series/number/line": type,
// series, year and number (a missing part is empty, so the key cannot be sent).
LookupKey lisbonKey(const std::string& doc);

}  // namespace talvers
