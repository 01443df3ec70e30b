#pragma once
// The note shown beside an article's open supplier orders: the OBS of the first supplier
// order line listed in the article's supplier-order text (keys joined by ","). Only a first
// key with five parts (type/year/series/number/line) names a line; with any other form, a
// key whose numbers are not whole, or no note row, the note is "". The OBS is cut to 80
// characters and loses its surrounding blanks.
#include <string>
#include <string_view>

#include "shell/dataaccess/connection.h"

namespace talvers {

std::string supplierOrderNote(Connection& bd, std::string_view supplierOrderText);

}  // namespace talvers
