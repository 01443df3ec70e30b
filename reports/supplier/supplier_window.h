#pragma once
// frmTalversForn: the customer orders by supplier window. DTPicker1 starts one calendar year
// before today; confirm runs the extraction the session's company-variant flag selects.
#include "reports/frame/desktop/report_window.h"
#include "reports/supplier/orders_by_supplier_request.h"

namespace talvers {

class frmTalversForn : public ReportWindow {
    Q_OBJECT
  public:
    frmTalversForn(const ErpSession& session, const ReportWindowServices& services,
                   QWidget* parent = nullptr);

    // What confirm would run now.
    OrdersBySupplierRequest request() const;

  protected:
    ReportRun prepareRun() override;

  private:
    QDateEdit* startDate_;
};

}  // namespace talvers
