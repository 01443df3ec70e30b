#include "shell/workbook/workbook_print.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

// Thirteen columns of 20 and one of 12 fill an A4 landscape page at 50.06 %: fitted. One of 13
// would print at 49.9 %, which the spreadsheet rounds down to 49: pages across instead, at the
// largest scale that needs no more of them than 50 % does, page 1 as full as that scale
// allows.
TEST(WorkbookPrint, FitsOnePageWideDownToFiftyPercentOnly) {
    std::vector<double> atFifty(13, 20);
    atFifty.push_back(12);
    std::vector<double> belowFifty(13, 20);
    belowFifty.push_back(13);
    const std::vector<double> pending{20, 30, 15,  20, 80, 15, 15,  80, 15,
                                      15, 15, 100, 40, 20, 80, 100, 100};
    const std::vector<double> provisioning{20, 20, 90, 15, 15, 15, 15, 15, 20, 80};
    struct Case {
        std::vector<double> widths;
        int fitted;
        bool fit;
    };
    const Case cases[] = {{{}, 100, true},         {std::vector<double>(6, 15), 100, true},
                          {{255}, 55, true},       {atFifty, 50, true},
                          {belowFifty, 49, false}, {pending, 18, false},
                          {provisioning, 45, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(fittedScale(c.widths), c.fitted) << c.widths.size();
        const PrintLayout layout = printLayoutFor(c.widths);
        EXPECT_EQ(layout.fitOnePageWide, c.fit) << c.widths.size();
        if (c.fit) continue;
        EXPECT_GE(layout.scale, 50);
        EXPECT_EQ(printedPagesWide(c.widths, layout.scale), layout.pagesWide);
        EXPECT_EQ(printedPagesWide(c.widths, 50), layout.pagesWide);
        if (layout.scale < 100) {
            EXPECT_GT(printedPagesWide(c.widths, layout.scale + 1), layout.pagesWide);
        }
    }
}

// The page header carries the title as it is, in bold, an "&" doubled so that it is no code;
// a title too long for a header is cut by characters, never inside one.
TEST(WorkbookPrint, TheTitleHeaderKeepsTheTextWhole) {
    EXPECT_EQ(titleHeader("Mapa Aprovisionamento em 09-12-2026"),
              "&C&BMapa Aprovisionamento em 09-12-2026");
    EXPECT_EQ(titleHeader("A & B"), "&C&BA && B");
    const std::string header = titleHeader(std::string(300, 'e') + "ção");
    EXPECT_EQ(charCount(header), 255u);
    EXPECT_TRUE(isValidUtf8(header));
    EXPECT_EQ(charCount(titleHeader(std::string(250, 'x') + "çççç")), 255u);
}

}  // namespace
}  // namespace talvers
