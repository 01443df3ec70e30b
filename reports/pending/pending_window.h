#pragma once
// frmTalvers: the pending customer-orders window. DTPicker1 starts one calendar year before
// today; confirm runs the pending-orders report from that date on the two connections, which
// stay owned by the caller and must outlive the window.
#include "reports/frame/desktop/report_window.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

class frmTalvers : public ReportWindow {
    Q_OBJECT
  public:
    frmTalvers(Connection& bd, Connection& bdExt, const ReportWindowServices& services,
               QWidget* parent = nullptr);

  protected:
    ReportRun prepareRun() override;

  private:
    Connection& bd_;
    Connection& bdExt_;
    QDateEdit* startDate_;
};

}  // namespace talvers
