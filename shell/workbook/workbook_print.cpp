#include "shell/workbook/workbook_print.h"

#include "shell/workbook/workbook_failure.h"

namespace talvers {
namespace {

constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kHeaderRow = 2;
constexpr uint8_t kPaperA4 = 9;

void check(lxw_error error, const std::string& sheetName) {
    throwIfXlsxError(error, "Não foi possível escrever a célula A1 da folha '" + sheetName + "'");
}

}  // namespace

void setUpPrinting(lxw_worksheet* sheet, const std::string& sheetName) {
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, kPaperA4);
    worksheet_fit_to_pages(sheet, 1, 0);
    check(worksheet_repeat_rows(sheet, kTitleRow, kHeaderRow), sheetName);
    check(worksheet_set_footer(sheet, "&CPágina &P de &N"), sheetName);
}

}  // namespace talvers
