#include "reports/pending/pending_window.h"

#include <QDateEdit>

#include "reports/pending/pending_orders.h"

namespace talvers {

frmTalvers::frmTalvers(const ErpSession& session, const ReportWindowServices& services,
                       QWidget* parent)
    : ReportWindow(QStringLiteral("Talvers Pendentes"), session, services, parent),
      startDate_(addStartDatePicker(PendingOrdersRequest::defaults(today()).startDate)) {
    setObjectName(QStringLiteral("frmTalvers"));
    setInputChain({startDate_});
}

PendingOrdersRequest frmTalvers::request() const {
    return {dateOf(startDate_)};
}

ReportWindow::ReportRun frmTalvers::prepareRun() {
    return {[session = session(), request = request()](ReportProgress& progress) {
                return runPendingOrders(session, request, progress);
            },
            pendingOrdersOutput()};
}

}  // namespace talvers
