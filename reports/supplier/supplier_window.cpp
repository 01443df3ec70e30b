#include "reports/supplier/supplier_window.h"

#include <QDateEdit>

#include "reports/supplier/orders_by_supplier.h"

namespace talvers {

frmTalversForn::frmTalversForn(Connection& bd, Connection& bdExt, bool companyVariant,
                               const ReportWindowServices& services, QWidget* parent)
    : ReportWindow(QStringLiteral("Talvers/Fornecedor"), services, parent),
      bd_(bd),
      bdExt_(bdExt),
      companyVariant_(companyVariant),
      startDate_(addStartDatePicker()) {
    setObjectName(QStringLiteral("frmTalversForn"));
    setInputChain({startDate_});
}

ReportWindow::ReportRun frmTalversForn::prepareRun() {
    return {[variant = companyVariant_, &bd = bd_, &bdExt = bdExt_, start = dateOf(startDate_),
             mode = lookupMode()](ReportProgress& progress) {
                return runOrdersBySupplier(variant, bd, bdExt, start, progress, mode);
            },
            ordersBySupplierOutput(companyVariant_)};
}

}  // namespace talvers
