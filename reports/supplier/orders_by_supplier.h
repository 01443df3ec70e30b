#pragma once
// Customer orders by supplier. The default variant (ExtrairBDC) allocates stock and open
// supplier orders to the open customer lines article by article; the alternate variant
// (ExtrairDIID), chosen by the company-variant flag, lists last supplier, Lisbon customer,
// open-order mark, note and estimated date per line.
#include "reports/frame/erp_session.h"
#include "reports/frame/report_output.h"
#include "reports/frame/report_progress.h"
#include "reports/supplier/orders_by_supplier_request.h"

namespace talvers {

// Sheet "Enc. Pendentes_Fornecedor"; title prefix by variant.
ReportOutput ordersBySupplierOutput(bool companyVariant);

// Both fetch their lookups for all the run's keys before deciding the rows; the session says
// how (the rows are the same either way). ExtrairBDC reads the main connection only.
Table ExtrairBDC(const ErpSession& session, const OrdersBySupplierRequest& request,
                 ReportProgress& progress);
Table ExtrairDIID(const ErpSession& session, const OrdersBySupplierRequest& request,
                  ReportProgress& progress);

// The variant the session's company-variant flag selects.
Table runOrdersBySupplier(const ErpSession& session, const OrdersBySupplierRequest& request,
                          ReportProgress& progress);

}  // namespace talvers
