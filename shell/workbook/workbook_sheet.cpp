#include "shell/workbook/workbook_sheet.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <vector>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/xml_text.h"
#include "shell/files/file_error.h"
#include "shell/workbook/workbook_failure.h"
#include "shell/workbook/workbook_print.h"

namespace talvers {
namespace {

constexpr lxw_row_t kTitleRow = 0;
constexpr lxw_row_t kHeaderRow = 2;
constexpr lxw_row_t kFirstDataRow = 3;
constexpr size_t kMaxCellChars = 32767;
// Fits the size-20 bold title whole; the default row height clips its top and bottom.
constexpr double kTitleRowHeight = 26;

class SheetWriter {
  public:
    SheetWriter(lxw_worksheet* sheet, const std::string& sheetName)
        : sheet_(sheet), sheetName_(sheetName) {}

    void check(lxw_error error, lxw_row_t row, lxw_col_t column) const {
        if (error == LXW_NO_ERROR) return;
        char cell[LXW_MAX_CELL_NAME_LENGTH];
        lxw_rowcol_to_cell(cell, row, column);
        throwIfXlsxError(error, "Não foi possível escrever a célula " + std::string(cell) +
                                    " da folha '" + sheetName_ + "'");
    }

    void writeText(lxw_row_t row, lxw_col_t column, const std::string& rawText,
                   lxw_format* format) const {
        // The last guard for the sheet's XML, whatever the text's source.
        const std::string text = validXmlText(rawText);
        // Only a text of more bytes than the limit can have more characters than it.
        if (text.size() > kMaxCellChars && charCount(text) > kMaxCellChars) {
            check(worksheet_write_string(sheet_, row, column,
                                         leftChars(text, kMaxCellChars).c_str(), format),
                  row, column);
            return;
        }
        check(worksheet_write_string(sheet_, row, column, text.c_str(), format), row, column);
    }

    void writeValue(lxw_row_t row, lxw_col_t column, const Value& value, lxw_format* format) const {
        if (value.isNull()) {
            check(worksheet_write_blank(sheet_, row, column, format), row, column);
        } else if (value.isText()) {
            writeText(row, column, value.text(), format);
        } else if (value.isMoney()) {
            writeNumber(row, column, value.money().toDouble(), format);
        } else if (value.isInteger()) {
            writeNumber(row, column, static_cast<double>(*value.toInteger()), format);
        } else if (value.isDouble()) {
            // A cell cannot hold an infinity or a NaN; its text keeps the value visible.
            const double number = value.doubleValue();
            if (std::isfinite(number)) {
                writeNumber(row, column, number, format);
            } else {
                writeText(row, column, value.toText(), format);
            }
        } else {
            writeText(row, column, value.toText(), format);
        }
    }

  private:
    void writeNumber(lxw_row_t row, lxw_col_t column, double number, lxw_format* format) const {
        check(worksheet_write_number(sheet_, row, column, number, format), row, column);
    }

    lxw_worksheet* sheet_;
    const std::string& sheetName_;
};

// The library streams the rows to its temporary file without checking the writes, so a
// full disk there would give a truncated sheet in a workbook reported as written. Flushing
// the pending last row first makes the check cover every row.
void checkStream(lxw_worksheet* sheet, const std::string& sheetName) {
    lxw_worksheet_write_single_row(sheet);
    errno = 0;
    if (std::fflush(sheet->optimize_tmpfile) != 0 || std::ferror(sheet->optimize_tmpfile)) {
        const int error = errno != 0 ? errno : EIO;
        throw WorkbookFailure(error, "Não foi possível escrever a folha '" + sheetName +
                                         "': " + fileErrorReason(error));
    }
}

}  // namespace

void writeSheet(lxw_workbook* workbook, const WorkbookFormats& formats,
                const std::string& sheetName, const std::string& title, const Table& rows) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, validXmlText(sheetName).c_str());
    if (!sheet) {
        // The name was checked before, so what is left is the sheet's temporary file.
        throwIfXlsxError(LXW_ERROR_CREATING_TMPFILE,
                         "Não foi possível criar a folha '" + sheetName + "'");
    }
    const SheetWriter writer(sheet, sheetName);
    const auto columnCount = static_cast<lxw_col_t>(rows.fieldCount());
    std::vector<ColumnKind> kinds;
    kinds.reserve(columnCount);

    // Column settings, panes and filter first: in constant-memory mode the filter refuses
    // rows above the last one written.
    for (lxw_col_t c = 0; c < columnCount; ++c) {
        const ColumnLayout layout = columnLayoutFor(rows, c);
        kinds.push_back(layout.kind);
        if (layout.width || formats.column(layout.kind)) {
            writer.check(worksheet_set_column(sheet, c, c, layout.width.value_or(LXW_DEF_COL_WIDTH),
                                              formats.column(layout.kind)),
                         kHeaderRow, c);
        }
    }
    worksheet_freeze_panes(sheet, kFirstDataRow, 0);
    writer.check(worksheet_set_row(sheet, kTitleRow, kTitleRowHeight, nullptr), kTitleRow, 0);
    setUpPrinting(sheet, sheetName, rows);
    if (columnCount > 0) {
        writer.check(worksheet_autofilter(sheet, kHeaderRow, 0, kHeaderRow, columnCount - 1),
                     kHeaderRow, 0);
    }

    // A single column cannot be merged; its title cell simply holds the title.
    if (columnCount > 1) {
        writer.check(worksheet_merge_range(sheet, kTitleRow, 0, kTitleRow, columnCount - 1,
                                           validXmlText(title).c_str(), formats.title()),
                     kTitleRow, 0);
    } else {
        writer.writeText(kTitleRow, 0, title, formats.title());
    }
    for (lxw_col_t c = 0; c < columnCount; ++c) {
        writer.writeText(kHeaderRow, c, rows.fields()[c].name, formats.header());
    }

    const Value null;
    lxw_row_t row = kFirstDataRow;
    for (const auto& values : rows.rows()) {
        for (lxw_col_t c = 0; c < columnCount; ++c) {
            writer.writeValue(row, c, c < values.size() ? values[c] : null, formats.data(kinds[c]));
        }
        ++row;
    }
    checkStream(sheet, sheetName);
}

}  // namespace talvers
