#pragma once
// Pending customer orders: one row per open customer order line dated on or after the start
// date, with stock, most recent supplier, the Lisbon order it was exported from (external
// connection) and the article's open supplier orders and delivery notes.
#include "reports/frame/lookup_mode.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

// Sheet "Enc. Pendentes", title "Encomendas Pendentes em " + today.
ReportOutput pendingOrdersOutput();

// Runs the report: the main query, then every lookup for all the run's keys (`mode` says how
// they are fetched; the rows are the same either way), then the rows. Database failures
// propagate as DatabaseError; a cancel request of the progress sink as ReportCancelled.
Table runPendingOrders(Connection& bd, Connection& bdExt, const DateTime& startDate,
                       ReportProgress& progress, LookupMode mode = LookupMode::SetBased);

}  // namespace talvers
