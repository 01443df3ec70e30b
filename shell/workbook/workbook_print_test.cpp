#include "shell/workbook/workbook_print.h"

#include <gtest/gtest.h>

#include <random>

#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

std::vector<double> repeated(int count, double width) {
    return std::vector<double>(static_cast<size_t>(count), width);
}

// The pending-orders report's columns.
const std::vector<double> kPendingWidths{20, 30, 15,  20, 80, 15, 15,  80, 15,
                                         15, 15, 100, 40, 20, 80, 100, 100};

// Thirteen columns of 20 and one of 12 fill an A4 landscape page at 50.06 %; one of 13 at
// 49.9 %, which the spreadsheet would print at 49 %.
TEST(WorkbookPrint, FitsOnePageWideDownToFiftyPercentOnly) {
    std::vector<double> atFifty = repeated(13, 20);
    atFifty.push_back(12);
    std::vector<double> belowFifty = repeated(13, 20);
    belowFifty.push_back(13);
    struct Case {
        std::vector<double> widths;
        int fitted;
        bool fit;
    };
    const Case cases[] = {
        {{}, 100, true},     {repeated(6, 15), 100, true},  // narrower than the page: printed as it
                                                            // is
        {{255}, 55, true},                                  // the widest column the sheet allows
        {atFifty, 50, true}, {belowFifty, 49, false},      {kPendingWidths, 18, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fittedScale(c.widths), c.fitted) << c.widths.size();
        const PrintLayout layout = printLayoutFor(c.widths);
        EXPECT_EQ(layout.fitOnePageWide, c.fit) << c.widths.size();
        if (c.fit) {
            EXPECT_EQ(layout.pagesWide, 1);
        }
    }
}

// Whatever the columns, a sheet too wide to fit prints at 50 % or more with its first column
// on every page, at the largest scale that needs no more pages across than 50 % does.
TEST(WorkbookPrint, AWideSheetPrintsAtTheLargestScaleOfItsPagesAcross) {
    std::mt19937 random(19);
    std::uniform_real_distribution<double> width(3, 120);
    std::vector<std::vector<double>> sheets{kPendingWidths, repeated(40, 8.43)};
    for (int i = 0; i < 200; ++i) {
        std::vector<double> widths(5 + random() % 30);
        for (double& w : widths) w = width(random);
        sheets.push_back(widths);
    }
    for (const std::vector<double>& widths : sheets) {
        const PrintLayout layout = printLayoutFor(widths);
        if (layout.fitOnePageWide) {
            EXPECT_GE(fittedScale(widths), 50);
            continue;
        }
        EXPECT_LT(fittedScale(widths), 50);
        EXPECT_GE(layout.scale, 50);
        EXPECT_LE(layout.scale, 100);
        EXPECT_TRUE(layout.repeatFirstColumn);
        EXPECT_EQ(printedPagesWide(widths, layout.scale, true), layout.pagesWide);
        EXPECT_EQ(printedPagesWide(widths, 50, true), layout.pagesWide);
        if (layout.scale < 100) {
            EXPECT_GT(printedPagesWide(widths, layout.scale + 1, true), layout.pagesWide);
        }
    }
    EXPECT_GT(printLayoutFor(kPendingWidths).pagesWide, 1);
}

TEST(WorkbookPrint, AFirstColumnTakingHalfAPageIsNotRepeated) {
    std::vector<double> widths{200};
    for (double w : repeated(10, 40)) widths.push_back(w);
    const PrintLayout layout = printLayoutFor(widths);
    EXPECT_FALSE(layout.fitOnePageWide);
    EXPECT_FALSE(layout.repeatFirstColumn);
    EXPECT_GE(layout.scale, 50);
}

Table tableOfWidths(const std::vector<double>& widths) {
    std::vector<Field> fields;
    std::vector<Value> row;
    for (size_t c = 0; c < widths.size(); ++c) {
        fields.push_back({"C" + std::to_string(c), FieldType::Text, static_cast<int>(widths[c])});
        row.emplace_back(std::string("x"));
    }
    Table table(fields);
    table.addRow(row);
    return table;
}

// The setup as the independent reader finds it in the written file.
TEST(WorkbookPrint, TheWorkbookCarriesThePrintSetup) {
    const testing::TempDir dir;
    testing::RecordingPresenter messages;
    const auto file = dir / "largo.xlsx";
    ASSERT_TRUE(writeWorkbook({"Folha"}, {"Título"}, file.string(), tableOfWidths(kPendingWidths),
                              messages));
    testing::XlsxPageSetup wide = testing::dumpWorkbook(file).pageSetup("Folha");
    EXPECT_EQ(wide.orientation, "landscape");
    EXPECT_EQ(wide.paperSize, "9");
    EXPECT_FALSE(wide.fitToPage);
    EXPECT_EQ(wide.scale, std::to_string(printLayoutFor(kPendingWidths).scale));
    EXPECT_EQ(wide.titleRows, "$1:$3");
    EXPECT_EQ(wide.titleColumns, "$A:$A");
    EXPECT_EQ(wide.pageOrder, "overThenDown");
    EXPECT_EQ(wide.footerCentre, "Página &P de &N");

    const auto narrowFile = dir / "estreito.xlsx";
    ASSERT_TRUE(writeWorkbook({"Folha"}, {"Título"}, narrowFile.string(),
                              tableOfWidths(repeated(10, 20)), messages));
    testing::XlsxPageSetup narrow = testing::dumpWorkbook(narrowFile).pageSetup("Folha");
    EXPECT_EQ(narrow.orientation, "landscape");
    EXPECT_TRUE(narrow.fitToPage);
    EXPECT_EQ(narrow.fitToWidth, "");  // the file format's default: one page
    EXPECT_EQ(narrow.fitToHeight, "0");
    EXPECT_EQ(narrow.scale, "");
    EXPECT_EQ(narrow.titleRows, "$1:$3");
    EXPECT_EQ(narrow.titleColumns, "");
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace talvers
