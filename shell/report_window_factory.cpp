#include "shell/report_window_factory.h"

#include "reports/pending/pending_window.h"
#include "reports/provisioning/provisioning_window.h"
#include "reports/supplier/supplier_window.h"
#include "utility/utility_window.h"

namespace talvers {

ReportWindowFactory desktopReportWindows(Session& session, const ReportWindowServices& services) {
    // Each window is shown without an owner, as the main window's menu always did.
    ReportWindowFactory factory;
    factory.pending = [&session, &services]() -> std::unique_ptr<QDialog> {
        return std::make_unique<frmTalvers>(*session.bd, *session.bdExt, services);
    };
    factory.supplier = [&session, &services]() -> std::unique_ptr<QDialog> {
        return std::make_unique<frmTalversForn>(*session.bd, *session.bdExt, session.companyVariant,
                                                services);
    };
    factory.provisioning = [&session, &services]() -> std::unique_ptr<QDialog> {
        return std::make_unique<frmMapaAprovisionamento>(*session.bd, session.companyVariant,
                                                         services);
    };
    factory.utility = [&session, &services]() -> std::unique_ptr<QDialog> {
        return std::make_unique<frmUtilitario>(*session.bd, services);
    };
    return factory;
}

}  // namespace talvers
