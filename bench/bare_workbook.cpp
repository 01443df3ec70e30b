#include "bench/bare_workbook.h"

#include <xlsxwriter.h>

#include <vector>

namespace talvers {

bool writeBareWorkbook(const Table& rows, const std::string& file, const std::string& sheetName,
                       const std::string& titleText) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
    if (workbook == nullptr) return false;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
    auto whiteOnRed = [&] {
        lxw_format* f = workbook_add_format(workbook);
        format_set_bold(f);
        format_set_align(f, LXW_ALIGN_CENTER);
        format_set_font_color(f, 0xFFFFFF);
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, 0xFF0000);
        return f;
    };
    lxw_format* title = whiteOnRed();
    format_set_font_size(title, 20);
    lxw_format* header = whiteOnRed();
    lxw_format* plain = workbook_add_format(workbook);
    format_set_pattern(plain, LXW_PATTERN_SOLID);
    format_set_bg_color(plain, 0x7ACDF6);
    lxw_format* number = workbook_add_format(workbook);
    format_set_pattern(number, LXW_PATTERN_SOLID);
    format_set_bg_color(number, 0x7ACDF6);
    format_set_num_format(number, "###,###,##0.00");
    lxw_format* column = workbook_add_format(workbook);
    format_set_num_format(column, "###,###,##0.00");

    const auto n = static_cast<lxw_col_t>(rows.fieldCount());
    std::vector<lxw_format*> data(n);
    for (lxw_col_t c = 0; c < n; ++c) {
        const Field& field = rows.fields()[c];
        const bool money = field.type == FieldType::Money;
        data[c] = money ? number : plain;
        worksheet_set_column(sheet, c, c, money ? 15 : field.size, money ? column : nullptr);
    }
    worksheet_freeze_panes(sheet, 3, 0);
    worksheet_autofilter(sheet, 2, 0, 2, n - 1);
    worksheet_merge_range(sheet, 0, 0, 0, n - 1, titleText.c_str(), title);
    for (lxw_col_t c = 0; c < n; ++c) {
        worksheet_write_string(sheet, 2, c, rows.fields()[c].name.c_str(), header);
    }
    lxw_row_t r = 3;
    for (const auto& values : rows.rows()) {
        for (lxw_col_t c = 0; c < n; ++c) {
            const Value& v = values[c];
            if (v.isMoney()) {
                worksheet_write_number(sheet, r, c, v.money().toDouble(), data[c]);
            } else if (v.isText()) {
                worksheet_write_string(sheet, r, c, v.text().c_str(), data[c]);
            } else {
                worksheet_write_blank(sheet, r, c, data[c]);
            }
        }
        ++r;
    }
    return workbook_close(workbook) == LXW_NO_ERROR;
}

}  // namespace talvers
