#pragma once
// The main query of the pending-orders report, built from its fixed T-SQL fragments; its
// lookups are the order lookups (reports/lookup/orders) it shares with the supplier report.
#include <string>

#include "shell/dataaccess/date_time.h"

namespace talvers {

// The open customer order lines dated on or after startDate (its date part only), sorted by
// customer code, then order date, then document (type, year, series, number) and line, so
// that no tie is left to the database; with stock, salesperson, customer and "Separado" mark.
std::string pendingOrdersSql(const DateTime& startDate);

}  // namespace talvers
