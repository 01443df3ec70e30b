#pragma once
// Provisioning: per active article its sales in a date range, stock, open customer and
// supplier orders and the projected stock, lowest projected stock first. Two variants chosen
// by the company-variant flag.
#include <string>

#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

struct ProvisioningFilter {
    DateTime firstDate;
    DateTime lastDate;
    std::string warehouse;  // read by neither variant's query: the warehouses are fixed
    std::string group;      // alternate variant only, when not empty
    std::string family;     // alternate variant only, when not empty
};

// Sheet "Mapa Parovisionamento", title "Mapa Aprovisionamento em " + today.
ReportOutput provisioningOutput();

// Runs the report: one row per query row whose sales, stock and orders are all known and do
// not add up to 0; progress after every query row, kept or not. Database failures (also a
// quantity that is not a number) propagate as DatabaseError; a cancel request as
// ReportCancelled.
Table runProvisioning(Connection& bd, bool companyVariant, const ProvisioningFilter& filter,
                      ReportProgress& progress);

}  // namespace talvers
