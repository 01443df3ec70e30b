#pragma once
// ReportWindowFactory: how frmMain gets a fresh report window for each menu command. Each
// function returns a new, not yet shown window that frmMain shows modally and destroys when
// it closes, so every command starts with the window's initial settings. frmMain passes the
// notice the window calls with each workbook it writes. Tests inject their own; the desktop
// program uses desktopReportWindows().
#include <QDialog>

#include <functional>
#include <memory>

#include "reports/frame/report_window_services.h"
#include "shell/startup.h"

namespace talvers {

using ReportWindowMaker = std::function<std::unique_ptr<QDialog>(const SavedFileNotice& saved)>;

struct ReportWindowFactory {
    ReportWindowMaker pending;       // frmTalvers
    ReportWindowMaker supplier;      // frmTalversForn
    ReportWindowMaker provisioning;  // frmMapaAprovisionamento
    ReportWindowMaker utility;       // frmUtilitario
};

// The program's report windows over the session's connections and company variant, each with
// `services` and the notice it is made with. The session and the services (and what they
// point at) must outlive every window made.
ReportWindowFactory desktopReportWindows(Session& session, const ReportWindowServices& services);

}  // namespace talvers
