#include "apps/desktop/desktop_report_windows.h"

#include "reports/pending/pending_window.h"
#include "reports/provisioning/provisioning_window.h"
#include "reports/supplier/supplier_window.h"
#include "utility/utility_window.h"

namespace talvers {

ReportWindowFactory desktopReportWindows(const ErpSession& session,
                                         const ReportWindowServices& services) {
    // Each window is shown without an owner, as the main window's menu always did.
    const auto maker = [session, services]<typename Window>() -> ReportWindowMaker {
        return [session, services](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
            ReportWindowServices own = services;
            own.saved = saved;
            return std::make_unique<Window>(session, own);
        };
    };
    return {maker.template operator()<frmTalvers>(), maker.template operator()<frmTalversForn>(),
            maker.template operator()<frmMapaAprovisionamento>(),
            maker.template operator()<frmUtilitario>()};
}

}  // namespace talvers
