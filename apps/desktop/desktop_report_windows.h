#pragma once
// The desktop program's report windows, one maker per menu command.
#include "reports/frame/desktop/report_window_services.h"
#include "shell/desktop/report_window_factory.h"
#include "shell/startup.h"

namespace talvers {

// The program's report windows over the session's connections and company variant, each with
// `services` and the notice it is made with. The session and the services (and what they
// point at) must outlive every window made.
ReportWindowFactory desktopReportWindows(Session& session, const ReportWindowServices& services);

}  // namespace talvers
