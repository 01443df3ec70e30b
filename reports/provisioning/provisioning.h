#pragma once
// Provisioning: per active article its sales in a date range, stock, open customer and
// supplier orders and the projected stock, lowest projected stock first. Two variants chosen
// by the company-variant flag.
#include "reports/frame/erp_session.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "reports/provisioning/provisioning_request.h"

namespace talvers {

// Sheet "Mapa Parovisionamento", title "Mapa Aprovisionamento em " + today.
ReportOutput provisioningOutput();

// Runs the report: one row per query row whose sales, stock and orders are all known and do
// not add up to 0; progress after every query row, kept or not. Database failures (also a
// quantity that is not a number) propagate as DatabaseError; a cancel request as
// ReportCancelled.
// The session's company variant picks the query; only the main connection is read.
Table runProvisioning(const ErpSession& session, const ProvisioningRequest& request,
                      ReportProgress& progress);

}  // namespace talvers
