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

// Writes cells through the library and adds each, as the library will write it, to the
// sheet's digest: an empty text becomes a blank cell, and a blank cell without a format is no
// cell at all.
class SheetWriter {
  public:
    SheetWriter(lxw_worksheet* sheet, const std::string& sheetName, SheetDigest& digest)
        : sheet_(sheet), sheetName_(sheetName), digest_(digest) {}

    void check(lxw_error error, lxw_row_t row, lxw_col_t column) const {
        if (error == LXW_NO_ERROR) return;
        char cell[LXW_MAX_CELL_NAME_LENGTH];
        lxw_rowcol_to_cell(cell, row, column);
        throwIfXlsxError(error, "Não foi possível escrever a célula " + std::string(cell) +
                                    " da folha '" + sheetName_ + "'");
    }

    void writeText(lxw_row_t row, lxw_col_t column, const std::string& rawText,
                   lxw_format* format) const {
        // The last guard for the sheet's XML, whatever the text's source; most texts need no
        // repair, and a copy of each would cost more than the check.
        std::string repaired;
        const std::string& text =
            isValidXmlText(rawText) ? rawText : (repaired = validXmlText(rawText));
        // Only a text of more bytes than the limit can have more characters than it.
        if (text.size() > kMaxCellChars && charCount(text) > kMaxCellChars) {
            const std::string cut = leftChars(text, kMaxCellChars);
            check(worksheet_write_string(sheet_, row, column, cut.c_str(), format), row, column);
            recordText(row, column, cut, format);
            return;
        }
        check(worksheet_write_string(sheet_, row, column, text.c_str(), format), row, column);
        recordText(row, column, text, format);
    }

    void writeBlank(lxw_row_t row, lxw_col_t column, lxw_format* format) const {
        check(worksheet_write_blank(sheet_, row, column, format), row, column);
        if (format != nullptr) record(row, column, CellKind::Blank, {});
    }

    // The title over `columnCount` columns: its text in the first cell, blanks in the others.
    void writeMerged(lxw_row_t row, lxw_col_t columnCount, const std::string& rawText,
                     lxw_format* format) const {
        const std::string text = validXmlText(rawText);
        check(worksheet_merge_range(sheet_, row, 0, row, columnCount - 1, text.c_str(), format),
              row, 0);
        recordText(row, 0, text, format);
        for (lxw_col_t c = 1; c < columnCount; ++c) {
            if (format != nullptr) record(row, c, CellKind::Blank, {});
        }
    }

    void writeValue(lxw_row_t row, lxw_col_t column, const Value& value, lxw_format* format) const {
        if (value.isNull()) {
            writeBlank(row, column, format);
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
        char buffer[32];
        record(row, column, CellKind::Number, SheetDigest::numberText(number, buffer));
    }

    void recordText(lxw_row_t row, lxw_col_t column, const std::string& text,
                    lxw_format* format) const {
        if (!text.empty()) {
            std::string escaped;
            record(row, column, CellKind::Text, SheetDigest::libraryText(text, escaped));
        } else if (format != nullptr) {
            record(row, column, CellKind::Blank, {});
        }
    }

    void record(lxw_row_t row, lxw_col_t column, CellKind kind, std::string_view text) const {
        // The layout writes rows and columns in order; anything else is this program's fault.
        if (!digest_.add(row, column, kind, text)) {
            check(LXW_ERROR_PARAMETER_VALIDATION, row, column);
        }
    }

    lxw_worksheet* sheet_;
    const std::string& sheetName_;
    SheetDigest& digest_;
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
                const std::string& sheetName, const std::string& title, const Table& rows,
                SheetDigest& digest, WorkbookProgress* progress, SheetRows place) {
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, validXmlText(sheetName).c_str());
    if (!sheet) {
        // The name was checked before, so what is left is the sheet's temporary file.
        throwIfXlsxError(LXW_ERROR_CREATING_TMPFILE,
                         "Não foi possível criar a folha '" + sheetName + "'");
    }
    const SheetWriter writer(sheet, sheetName, digest);
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
    setUpPrinting(sheet, sheetName, rows, title);
    if (columnCount > 0) {
        writer.check(worksheet_autofilter(sheet, kHeaderRow, 0, kHeaderRow, columnCount - 1),
                     kHeaderRow, 0);
    }

    // A single column cannot be merged; its title cell simply holds the title.
    if (columnCount > 1) {
        writer.writeMerged(kTitleRow, columnCount, title, formats.title());
    } else {
        writer.writeText(kTitleRow, 0, title, formats.title());
    }
    for (lxw_col_t c = 0; c < columnCount; ++c) {
        writer.writeText(kHeaderRow, c, rows.fields()[c].name, formats.header());
    }

    const Value null;
    lxw_row_t row = kFirstDataRow;
    size_t written = place.before;
    for (const auto& values : rows.rows()) {
        throwIfWriteStopped(progress);
        for (lxw_col_t c = 0; c < columnCount; ++c) {
            writer.writeValue(row, c, c < values.size() ? values[c] : null, formats.data(kinds[c]));
        }
        ++row;
        if (progress) progress->rowsWritten(++written, place.all);
    }
    checkStream(sheet, sheetName);
}

}  // namespace talvers
