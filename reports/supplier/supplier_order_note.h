#pragma once
// The note shown beside an article's open supplier orders: the OBS of the first supplier
// order line listed in the article's supplier-order text (keys joined by ","). Only a first
// key with five parts (type/year/series/number/line) names a line; with any other form, a
// key whose numbers are not whole, or no note row, the note is "". The OBS is cut to 80
// characters and loses its surrounding blanks.
#include <optional>
#include <string>
#include <string_view>

#include "reports/lookup/keyed_lookup.h"
#include "shell/dataaccess/table.h"

namespace talvers {

// The note lookup's key {type, year, series, number, line} of the text's first key, or nullopt
// when that key does not have five parts.
std::optional<LookupKey> supplierOrderNoteKey(std::string_view supplierOrderText);

// The note from the note lookup's rows.
std::string supplierOrderNote(const Table& noteRows);

}  // namespace talvers
