#pragma once
// Pending customer orders: one row per open customer order line dated on or after the start
// date, with stock, most recent supplier, the Lisbon order it was exported from (external
// connection) and the article's open supplier orders and delivery notes.
#include "reports/frame/erp_session.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "reports/pending/pending_orders_request.h"

namespace talvers {

// Sheet "Enc. Pendentes", title "Encomendas Pendentes em " + today.
ReportOutput pendingOrdersOutput();

// Runs the report: the main query, then every lookup for all the run's keys (the session says
// how they are fetched; the rows are the same either way), then the rows. Database failures
// propagate as DatabaseError; a cancel request of the progress sink as ReportCancelled.
Table runPendingOrders(const ErpSession& session, const PendingOrdersRequest& request,
                       ReportProgress& progress);

}  // namespace talvers
