#include "apps/desktop/desktop_report_windows.h"

#include "apps/erp_session_of.h"

#include <gtest/gtest.h>

#include "shell/settings/app_settings.h"
#include "tests/support/desktop/desktop_test_support.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

TEST(DesktopReportWindows, EachMenuCommandMakesItsOwnWindow) {
    testing::TempDir dir;
    testing::createErpFile(dir / "erp.db", false);
    testing::createErpFile(dir / "lisboa.db", true);
    testing::writeFile(dir / "Talvers.qor", testing::sqliteSettingsText("erp.db", "lisboa.db"));
    Session session = startUp(readAppSettings(dir / "Talvers.qor"));
    testing::RecordingPresenter messages;
    const ReportWindowServices services{&messages, nullptr, nullptr, {}, {}};
    const ReportWindowFactory factory = desktopReportWindows(erpSessionOf(session), services);
    const auto className = [](const ReportWindowMaker& make) {
        return std::string(make({})->metaObject()->className());
    };
    EXPECT_EQ(className(factory.pending), "talvers::frmTalvers");
    EXPECT_EQ(className(factory.supplier), "talvers::frmTalversForn");
    EXPECT_EQ(className(factory.provisioning), "talvers::frmMapaAprovisionamento");
    EXPECT_EQ(className(factory.utility), "talvers::frmUtilitario");
}

}  // namespace
}  // namespace talvers
