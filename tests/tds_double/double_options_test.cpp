#include "tests/tds_double/double_options.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace talvers {
namespace {

TEST(DoubleOptions, ReadsEveryOptionAndRefusesWhatItCannotUse) {
    const DoubleOptions o = parseDoubleOptions(
        {"--catalog", "ERP=a.db", "--catalog=EXT=b c.db", "--port=0", "--level", "110",
         "--row-delay-ms", "700", "--fail-after-rows", "0", "--packet-size", "512",
         "--text-collation-utf8", "--user", "u", "--password=p=q"});
    ASSERT_EQ(o.catalogs.size(), 2u);
    EXPECT_EQ(o.catalogs[1].first, "EXT");
    EXPECT_EQ(o.catalogs[1].second, std::filesystem::path("b c.db"));
    EXPECT_EQ(o.level, 110);
    EXPECT_EQ(o.rowDelayMs, 700);
    EXPECT_EQ(o.failAfterRows, 0u);
    EXPECT_FALSE(o.closeAfterRows);
    EXPECT_EQ(o.packetSize, 512);
    EXPECT_TRUE(o.textCollationUtf8);
    EXPECT_EQ(o.password, "p=q");
    EXPECT_TRUE(parseDoubleOptions({"--help"}).help);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                                {"--catalog", "ERP"},
                                                {"--catalog", "=a.db"},
                                                {"--catalog", "ERP=a", "--port", "65536"},
                                                {"--catalog", "ERP=a", "--packet-size", "511"},
                                                {"--catalog", "ERP=a", "--level"},
                                                {"--catalog", "ERP=a", "--nope"},
                                                {"--catalog", "ERP=a", "--text-collation-utf8=1"},
                                                {"--catalog", "ERP=a", "--port", "1x"}}) {
        EXPECT_THROW(parseDoubleOptions(bad), std::invalid_argument)
            << ::testing::PrintToString(bad);
    }
    EXPECT_NE(doubleHelp().find("--row-delay-ms N"), std::string::npos);
}

}  // namespace
}  // namespace talvers
