#include "shell/workbook/workbook_print.h"

#include <algorithm>
#include <cmath>

#include "shell/dataaccess/text_utils.h"
#include "shell/workbook/workbook_columns.h"
#include "shell/workbook/workbook_failure.h"

namespace talvers {
namespace {

constexpr lxw_row_t kHeaderRow = 2;
constexpr lxw_row_t kFirstDataRow = 3;
// The libraries' limit for a header's codes and text.
constexpr size_t kMaxHeaderChars = 255;
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

// The columns on each page across at `scale`, in order.
std::vector<size_t> columnsPerPage(const std::vector<double>& points, int scale) {
    std::vector<size_t> pages{0};
    const double factor = scale / 100.0;
    double used = 0;
    for (const double column : points) {
        const double width = column * factor;
        if (pages.back() > 0 && used + width > kPrintableWidth) {
            pages.push_back(0);
            used = 0;
        }
        ++pages.back();
        used += width;
    }
    return pages;
}

void check(lxw_error error, const std::string& sheetName) {
    throwIfXlsxError(error, "Não foi possível preparar a impressão da folha '" + sheetName + "'");
}

}  // namespace

int printedPagesWide(const std::vector<double>& columnWidths, int scale) {
    return static_cast<int>(columnsPerPage(pointsOf(columnWidths), scale).size());
}

int fittedScale(const std::vector<double>& columnWidths) {
    double total = 0;
    for (const double points : pointsOf(columnWidths)) total += points;
    if (total <= kPrintableWidth) return 100;
    // The spreadsheet prints a fitted sheet at a whole percentage, rounded down.
    return static_cast<int>(std::floor(kPrintableWidth * 100 / total));
}

PrintLayout printLayoutFor(const std::vector<double>& columnWidths) {
    PrintLayout layout;
    if (fittedScale(columnWidths) >= kSmallestReadableScale) return layout;
    layout.fitOnePageWide = false;
    const int pages = printedPagesWide(columnWidths, kSmallestReadableScale);
    layout.scale = kSmallestReadableScale;
    for (int scale = 100; scale > kSmallestReadableScale; --scale) {
        if (printedPagesWide(columnWidths, scale) <= pages) {
            layout.scale = scale;
            break;
        }
    }
    layout.pagesWide = pages;
    return layout;
}

std::string titleHeader(const std::string& title) {
    // Bold by the code every spreadsheet reads: Gnumeric shows a font code ("&\"-,Bold\"") as
    // text.
    std::string header = "&C&B";
    for (const char c : title) {
        if (c == '&') header += '&';
        header += c;
    }
    // Cut by characters: a header the library refuses would fail the whole workbook.
    return charCount(header) > kMaxHeaderChars ? leftChars(header, kMaxHeaderChars) : header;
}

void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName, const Table& rows,
                   const std::string& title) {
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
        check(worksheet_set_header(sheet, titleHeader(title).c_str()), sheetName);
        const auto lastRow = static_cast<lxw_row_t>(kFirstDataRow + rows.rowCount() - 1);
        check(worksheet_print_area(sheet, kHeaderRow, 0, std::max(lastRow, kHeaderRow),
                                   static_cast<lxw_col_t>(widths.size() - 1)),
              sheetName);
    }
    if (!widths.empty()) check(worksheet_repeat_rows(sheet, kHeaderRow, kHeaderRow), sheetName);
    check(worksheet_set_footer(sheet, "&CPágina &P de &N"), sheetName);
}

}  // namespace talvers
