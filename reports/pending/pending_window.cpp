#include "reports/pending/pending_window.h"

#include <QDateEdit>

#include "reports/pending/pending_orders.h"

namespace talvers {

frmTalvers::frmTalvers(Connection& bd, Connection& bdExt, const ReportWindowServices& services,
                       QWidget* parent)
    : ReportWindow(QStringLiteral("Talvers Pendentes"), services, parent),
      bd_(bd),
      bdExt_(bdExt),
      startDate_(addStartDatePicker()) {
    setObjectName(QStringLiteral("frmTalvers"));
    setInputChain({startDate_});
}

ReportWindow::ReportRun frmTalvers::prepareRun() {
    return {[&bd = bd_, &bdExt = bdExt_, start = dateOf(startDate_),
             mode = lookupMode()](ReportProgress& progress) {
                return runPendingOrders(bd, bdExt, start, progress, mode);
            },
            pendingOrdersOutput()};
}

}  // namespace talvers
