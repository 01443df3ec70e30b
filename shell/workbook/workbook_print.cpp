#include "shell/workbook/workbook_print.h"

#include <algorithm>
#include <cmath>

#include "shell/workbook/workbook_columns.h"
#include "shell/workbook/workbook_failure.h"

namespace talvers {
namespace {

constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kHeaderRow = 2;
constexpr uint8_t kPaperA4 = 9;
constexpr int kSmallestReadableScale = 50;

constexpr double kPointsPerPixel = 0.75;
constexpr double kA4LongSidePoints = 841.89;
constexpr double kSideMarginPoints = 0.7 * 72;  // the library's default left and right margins
constexpr double kPrintableWidth = kA4LongSidePoints - 2 * kSideMarginPoints;

// The column's width on paper at 100 %, as the spreadsheet turns character units into
// pixels (a default font whose digits are 7 pixels wide, 5 pixels of padding).
double columnPoints(double width) {
    const double pixels =
        width < 1 ? std::floor(width * 12 + 0.5) : std::floor(width * 7 + 0.5) + 5;
    return pixels * kPointsPerPixel;
}

std::vector<double> pointsOf(const std::vector<double>& widths) {
    std::vector<double> points;
    points.reserve(widths.size());
    for (const double width : widths) points.push_back(columnPoints(width));
    return points;
}

// Whether the first column is worth repeating: not when it would take half of every page.
bool firstColumnRepeats(const std::vector<double>& points) {
    return points.size() > 1 &&
           points.front() * kSmallestReadableScale / 100.0 < kPrintableWidth / 2;
}

int pagesWideAt(const std::vector<double>& points, int scale, bool repeatFirst) {
    if (points.empty()) return 1;
    const double factor = scale / 100.0;
    const double room = kPrintableWidth - (repeatFirst ? points.front() * factor : 0);
    int pages = 1;
    double used = repeatFirst ? 0 : points.front() * factor;
    for (size_t c = 1; c < points.size(); ++c) {
        const double width = points[c] * factor;
        if (used > 0 && used + width > room) {
            ++pages;
            used = 0;
        }
        used += width;
    }
    return pages;
}

void check(lxw_error error, const std::string& sheetName) {
    throwIfXlsxError(error, "Não foi possível preparar a impressão da folha '" + sheetName + "'");
}

}  // namespace

int printedPagesWide(const std::vector<double>& columnWidths, int scale, bool repeatFirstColumn) {
    return pagesWideAt(pointsOf(columnWidths), scale, repeatFirstColumn);
}

int fittedScale(const std::vector<double>& columnWidths) {
    double total = 0;
    for (const double points : pointsOf(columnWidths)) total += points;
    if (total <= kPrintableWidth) return 100;
    // The spreadsheet prints a fitted sheet at a whole percentage, rounded down.
    return static_cast<int>(std::floor(kPrintableWidth * 100 / total));
}

PrintLayout printLayoutFor(const std::vector<double>& columnWidths) {
    if (fittedScale(columnWidths) >= kSmallestReadableScale) return {};
    const std::vector<double> points = pointsOf(columnWidths);
    PrintLayout layout;
    layout.fitOnePageWide = false;
    layout.repeatFirstColumn = firstColumnRepeats(points);
    const int pages = pagesWideAt(points, kSmallestReadableScale, layout.repeatFirstColumn);
    layout.scale = kSmallestReadableScale;
    for (int scale = 100; scale > kSmallestReadableScale; --scale) {
        if (pagesWideAt(points, scale, layout.repeatFirstColumn) <= pages) {
            layout.scale = scale;
            break;
        }
    }
    layout.pagesWide = pages;
    return layout;
}

void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName, const Table& rows) {
    std::vector<double> widths;
    for (size_t c = 0; c < rows.fieldCount(); ++c)
        widths.push_back(columnLayoutFor(rows, c).width.value_or(LXW_DEF_COL_WIDTH));
    const PrintLayout layout = printLayoutFor(widths);

    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kPaperA4);
    if (layout.fitOnePageWide) {
        worksheet_fit_to_pages(sheet, 1, 0);
    } else {
        worksheet_set_print_scale(sheet, static_cast<uint16_t>(layout.scale));
        // Across the pages of one band of rows, then down: each band reads left to right.
        worksheet_print_across(sheet);
    }
    check(worksheet_repeat_rows(sheet, kTitleRow, kHeaderRow), sheetName);
    if (layout.repeatFirstColumn) check(worksheet_repeat_columns(sheet, 0, 0), sheetName);
    check(worksheet_set_footer(sheet, "&CPágina &P de &N"), sheetName);
}

}  // namespace talvers
