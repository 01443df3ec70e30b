// The windows start from the same request the command line runs without options.
#include <gtest/gtest.h>

#include "apps/report_command.h"
#include "apps/report_requests.h"
#include "reports/pending/pending_window.h"
#include "reports/provisioning/provisioning_window.h"
#include "reports/supplier/supplier_window.h"
#include "tests/support/desktop/report_window_test_support.h"
#include "tests/support/erp_fixture.h"

namespace talvers {
namespace {

TEST(ReportDefaults, TheWindowsStartWhereTheCommandLineDoes) {
    testing::ErpFixture db;
    testing::ScriptedDesktop desktop;
    // A leap day (one year earlier has no 29 February), and the first day of a year (the
    // provisioning range is that one day).
    for (const DateTime today : {DateTime{2024, 2, 29, 15, 45, 0}, DateTime{2025, 1, 1}}) {
        SCOPED_TRACE(today.isoDateTime());
        ReportWindowServices services = desktop.services();
        services.today = [today] { return today; };
        const ErpSession session = db.session(LookupMode::SetBased);
        const auto none = [](const ReportCommand& command) {
            return CommandOptions({}, command.syntax.options);
        };

        EXPECT_EQ(frmTalvers(session, services).request(),
                  pendingOrdersRequest(none(kPendentesCommand), today));
        EXPECT_EQ(frmTalversForn(session, services).request(),
                  ordersBySupplierRequest(none(kFornecedorCommand), today));
        EXPECT_EQ(frmMapaAprovisionamento(session, services).request(),
                  provisioningRequest(none(kAprovisionamentoCommand), today));
    }
    EXPECT_EQ(PendingOrdersRequest::defaults({2024, 2, 29}).startDate, (DateTime{2023, 2, 28}));
    EXPECT_EQ(ProvisioningRequest::defaults({2025, 1, 1}).firstDate, (DateTime{2025, 1, 1}));
}

}  // namespace
}  // namespace talvers
