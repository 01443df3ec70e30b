#include "shell/workbook/workbook_formats.h"

#include <string>

#include "shell/workbook/workbook_failure.h"

namespace talvers {
namespace {

// The palette's index 3 and 2 (red and white) and the data fill RGB(122, 205, 246).
constexpr lxw_color_t kRed = 0xFF0000;
constexpr lxw_color_t kWhite = 0xFFFFFF;
constexpr lxw_color_t kDataFill = 0x7ACDF6;
constexpr double kTitleSize = 20;

lxw_format* newFormat(lxw_workbook* workbook) {
    lxw_format* format = workbook_add_format(workbook);
    if (!format) {
        throw WorkbookFailure(LXW_ERROR_MEMORY_MALLOC_FAILED,
                              "Não foi possível criar os formatos do ficheiro: " +
                                  xlsxErrorReason(LXW_ERROR_MEMORY_MALLOC_FAILED));
    }
    return format;
}

void fill(lxw_format* format, lxw_color_t color) {
    format_set_pattern(format, LXW_PATTERN_SOLID);
    format_set_bg_color(format, color);
}

lxw_format* whiteOnRed(lxw_workbook* workbook) {
    lxw_format* format = newFormat(workbook);
    format_set_bold(format);
    format_set_align(format, LXW_ALIGN_CENTER);
    format_set_font_color(format, kWhite);
    fill(format, kRed);
    return format;
}

}  // namespace

WorkbookFormats::WorkbookFormats(lxw_workbook* workbook)
    : title_(whiteOnRed(workbook)),
      header_(whiteOnRed(workbook)),
      plainData_(newFormat(workbook)),
      numberData_(newFormat(workbook)),
      numberColumn_(newFormat(workbook)) {
    const std::string numberFormat(kNumberFormat);
    format_set_font_size(title_, kTitleSize);
    fill(plainData_, kDataFill);
    fill(numberData_, kDataFill);
    format_set_num_format(numberData_, numberFormat.c_str());
    format_set_num_format(numberColumn_, numberFormat.c_str());
}

}  // namespace talvers
