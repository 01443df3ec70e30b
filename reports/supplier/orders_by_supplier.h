#pragma once
// Customer orders by supplier. The default variant (ExtrairBDC) allocates stock and open
// supplier orders to the open customer lines article by article; the alternate variant
// (ExtrairDIID), chosen by the company-variant flag, lists last supplier, Lisbon customer,
// open-order mark, note and estimated date per line.
#include "reports/frame/lookup_mode.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/date_time.h"

namespace talvers {

// Sheet "Enc. Pendentes_Fornecedor"; title prefix by variant.
ReportOutput ordersBySupplierOutput(bool companyVariant);

// Both fetch their lookups for all the run's keys before deciding the rows; `mode` says how
// (the rows are the same either way).
Table ExtrairBDC(Connection& bd, const DateTime& startDate, ReportProgress& progress,
                 LookupMode mode = LookupMode::SetBased);
Table ExtrairDIID(Connection& bd, Connection& bdExt, const DateTime& startDate,
                  ReportProgress& progress, LookupMode mode = LookupMode::SetBased);

// The variant the company-variant flag selects.
Table runOrdersBySupplier(bool companyVariant, Connection& bd, Connection& bdExt,
                          const DateTime& startDate, ReportProgress& progress,
                          LookupMode mode = LookupMode::SetBased);

}  // namespace talvers
