#include "shell/workbook/workbook_print.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

// Thirteen columns of 20 and one of 12 fill an A4 landscape page at 50.06 %: fitted. One of 13
// would print at 49.9 %, which the spreadsheet rounds down to 49: pages across instead, at the
// largest scale that needs no more of them than 50 % does, with column A on each.
TEST(WorkbookPrint, FitsOnePageWideDownToFiftyPercentOnly) {
    std::vector<double> atFifty(13, 20);
    atFifty.push_back(12);
    std::vector<double> belowFifty(13, 20);
    belowFifty.push_back(13);
    const std::vector<double> pending{20, 30, 15,  20, 80, 15, 15,  80, 15,
                                      15, 15, 100, 40, 20, 80, 100, 100};
    struct Case {
        std::vector<double> widths;
        int fitted;
        bool fit;
    };
    const Case cases[] = {{{}, 100, true},         {std::vector<double>(6, 15), 100, true},
                          {{255}, 55, true},       {atFifty, 50, true},
                          {belowFifty, 49, false}, {pending, 18, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(fittedScale(c.widths), c.fitted) << c.widths.size();
        const PrintLayout layout = printLayoutFor(c.widths);
        EXPECT_EQ(layout.fitOnePageWide, c.fit) << c.widths.size();
        if (c.fit) continue;
        EXPECT_TRUE(layout.repeatFirstColumn);
        EXPECT_GE(layout.scale, 50);
        EXPECT_EQ(printedPagesWide(c.widths, layout.scale, true), layout.pagesWide);
        EXPECT_EQ(printedPagesWide(c.widths, 50, true), layout.pagesWide);
        if (layout.scale < 100) {
            EXPECT_GT(printedPagesWide(c.widths, layout.scale + 1, true), layout.pagesWide);
        }
    }
}

}  // namespace
}  // namespace talvers
