#pragma once
// The desktop program's report windows, one maker per menu command.
#include "reports/frame/desktop/report_window_services.h"
#include "reports/frame/erp_session.h"
#include "shell/desktop/report_window_factory.h"

namespace talvers {

// The program's report windows over the session, each with `services` and the notice it is
// made with. The session's connections and what the services point at must outlive every
// window made.
ReportWindowFactory desktopReportWindows(const ErpSession& session,
                                         const ReportWindowServices& services);

}  // namespace talvers
