#pragma once
// ReportGrid: the report window's grid ("Grelha"). Shows the last run's rows, read-only,
// sortable by clicking a heading (numbers numerically, dates by date, texts by the user's
// collation; a third click on a heading gives the report's own order back). Showing new rows
// starts in the report's order again. Rows are one line of text high; Tab leaves the grid (the
// arrow keys move between cells).
#include <QLocale>
#include <QTableView>

#include <memory>

#include "shell/dataaccess/table.h"

class QSortFilterProxyModel;

namespace talvers {

class ReportTableModel;

class ReportGrid : public QTableView {
    Q_OBJECT
  public:
    explicit ReportGrid(QWidget* parent = nullptr);
    ~ReportGrid() override;

    // Shows `rows` (shared, never copied); null or empty clears the grid. Numbers are shown
    // in `locale`'s form.
    void showRows(std::shared_ptr<const Table> rows, const QLocale& locale = QLocale());

    // The model under the sorting, or null when the grid is empty.
    const ReportTableModel* rows() const { return model_.get(); }

  private:
    QSortFilterProxyModel* sorter_;
    std::unique_ptr<ReportTableModel> model_;
};

}  // namespace talvers
