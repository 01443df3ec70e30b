#pragma once
// ErpSession: what every report runs on — the company's own database (main), the database of
// the company its orders were exported from (external), the company-variant flag that picks a
// report's variant, and how lookups are fetched. It refers to the start-up session's
// connections, which must outlive every report run on it; a run uses them from one thread.
#include "reports/frame/lookup_mode.h"
#include "shell/dataaccess/connection.h"

namespace talvers {

struct ErpSession {
    Connection& main;
    Connection& external;
    bool companyVariant = false;
    LookupMode lookups = LookupMode::SetBased;
};

}  // namespace talvers
