#pragma once
// The cell formats of a report workbook, made once per workbook and shared by every sheet
// and cell (a format per cell would grow the file's style table and the memory with the row
// count). The formats belong to the workbook and live until it is closed or freed.
#include <xlsxwriter.h>

#include "shell/workbook/workbook_columns.h"

namespace talvers {

class WorkbookFormats {
  public:
    // Throws WorkbookFailure when the workbook cannot make a format (out of memory).
    explicit WorkbookFormats(lxw_workbook* workbook);

    // Row 1: bold, size 20, white on red, centred.
    lxw_format* title() const { return title_; }
    // Row 3: bold, white on red, centred.
    lxw_format* header() const { return header_; }
    // The data cells of a column of this kind: the light blue fill, and for numbers the
    // thousands format.
    lxw_format* data(ColumnKind kind) const {
        return kind == ColumnKind::Number ? numberData_ : plainData_;
    }
    // The format of a whole column of this kind (null for plain columns).
    lxw_format* column(ColumnKind kind) const {
        return kind == ColumnKind::Number ? numberColumn_ : nullptr;
    }

  private:
    lxw_format* title_;
    lxw_format* header_;
    lxw_format* plainData_;
    lxw_format* numberData_;
    lxw_format* numberColumn_;
};

}  // namespace talvers
