#pragma once
// Pending customer orders: one row per open customer order line dated on or after the start
// date, with stock, most recent supplier, the Lisbon order it was exported from (external
// connection) and the article's open supplier orders and delivery notes.
#include "reports/frame/output_step.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

// Sheet "Enc. Pendentes", title "Encomendas Pendentes em " + today.
ReportOutput pendingOrdersOutput();

// Runs the report. Database failures propagate as DatabaseError; a cancel request of the
// progress sink as ReportCancelled.
Table runPendingOrders(Connection& bd, Connection& bdExt, const DateTime& startDate,
                       ReportProgress& progress);

}  // namespace talvers
