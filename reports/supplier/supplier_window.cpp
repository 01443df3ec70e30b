#include "reports/supplier/supplier_window.h"

#include <QDateEdit>

#include "reports/supplier/orders_by_supplier.h"

namespace talvers {

frmTalversForn::frmTalversForn(const ErpSession& session, const ReportWindowServices& services,
                               QWidget* parent)
    : ReportWindow(QStringLiteral("Talvers/Fornecedor"), session, services, parent),
      startDate_(addStartDatePicker(OrdersBySupplierRequest::defaults(today()).startDate)) {
    setObjectName(QStringLiteral("frmTalversForn"));
    setInputChain({startDate_});
}

OrdersBySupplierRequest frmTalversForn::request() const {
    return {dateOf(startDate_)};
}

ReportWindow::ReportRun frmTalversForn::prepareRun() {
    return {[session = session(), request = request()](ReportProgress& progress) {
                return runOrdersBySupplier(session, request, progress);
            },
            ordersBySupplierOutput(session().companyVariant)};
}

}  // namespace talvers
