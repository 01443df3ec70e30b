#pragma once
// frmTalversForn: the customer orders by supplier window. DTPicker1 starts one calendar year
// before today; confirm runs the extraction the company-variant flag selects. The connections
// stay owned by the caller and must outlive the window.
#include "reports/frame/desktop/report_window.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

class frmTalversForn : public ReportWindow {
    Q_OBJECT
  public:
    frmTalversForn(Connection& bd, Connection& bdExt, bool companyVariant,
                   const ReportWindowServices& services, QWidget* parent = nullptr);

  protected:
    ReportRun prepareRun() override;

  private:
    Connection& bd_;
    Connection& bdExt_;
    bool companyVariant_;
    QDateEdit* startDate_;
};

}  // namespace talvers
