#pragma once
// The reports' view of a started session: its two connections, the company variant and how
// the settings say lookups are fetched. The session must outlive the value.
#include "reports/frame/erp_session.h"
#include "shell/startup.h"

namespace talvers {

inline ErpSession erpSessionOf(Session& session) {
    return {*session.bd, *session.bdExt, session.companyVariant,
            session.settings.perRowLookups ? LookupMode::PerRow : LookupMode::SetBased};
}

}  // namespace talvers
