#pragma once
// frmTalvers: the pending customer-orders window. DTPicker1 starts one calendar year before
// today; confirm runs the pending-orders report from that date on the session.
#include "reports/frame/desktop/report_window.h"
#include "reports/pending/pending_orders_request.h"

namespace talvers {

class frmTalvers : public ReportWindow {
    Q_OBJECT
  public:
    frmTalvers(const ErpSession& session, const ReportWindowServices& services,
               QWidget* parent = nullptr);

    // What confirm would run now.
    PendingOrdersRequest request() const;

  protected:
    ReportRun prepareRun() override;

  private:
    QDateEdit* startDate_;
};

}  // namespace talvers
