#include "apps/desktop/desktop_report_windows.h"

#include "reports/pending/pending_window.h"
#include "reports/provisioning/provisioning_window.h"
#include "reports/supplier/supplier_window.h"
#include "utility/utility_window.h"

namespace talvers {

ReportWindowFactory desktopReportWindows(Session& session, const ReportWindowServices& services) {
    // Each window is shown without an owner, as the main window's menu always did.
    const auto with = [&services](const SavedFileNotice& saved) {
        ReportWindowServices own = services;
        own.saved = saved;
        return own;
    };
    ReportWindowFactory factory;
    factory.pending = [&session, with](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
        return std::make_unique<frmTalvers>(*session.bd, *session.bdExt, with(saved));
    };
    factory.supplier = [&session, with](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
        return std::make_unique<frmTalversForn>(*session.bd, *session.bdExt, session.companyVariant,
                                                with(saved));
    };
    factory.provisioning = [&session,
                            with](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
        return std::make_unique<frmMapaAprovisionamento>(*session.bd, session.companyVariant,
                                                         with(saved));
    };
    factory.utility = [&session, with](const SavedFileNotice& saved) -> std::unique_ptr<QDialog> {
        return std::make_unique<frmUtilitario>(*session.bd, with(saved));
    };
    return factory;
}

}  // namespace talvers
