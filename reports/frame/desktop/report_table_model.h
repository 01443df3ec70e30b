#pragma once
// ReportTableModel: a read-only view of a report's rows for the window's grid. It shares the
// run's Table (never copies it) and formats each cell only when the view asks for it, so a
// grid over 100,000 rows costs what its visible cells cost.
//
// Headings are the field names, as in the workbook. The columns the workbook shows with its
// number format ("###,###,##0.00": integer, double, money and numeric fields) show their
// numbers the same way in the given locale — thousands grouped as that locale groups them,
// two decimals, rounded half away from zero — and right-aligned. Dates show as the date
// pickers show them, "dd-mm-yyyy": date-time values, and texts that are exactly a date
// "yyyy-mm-dd" (the reports' date columns, whose leading blank stays); the workbook keeps its
// own. Everything else shows the text the workbook holds. kSortRole gives each cell's value for ordering: numbers as numbers,
// date-times as date-times, texts as texts, null as nothing (QSortFilterProxyModel puts
// those last).
#include <QAbstractTableModel>
#include <QLocale>

#include <memory>
#include <vector>

#include "shell/dataaccess/table.h"
#include "shell/workbook/workbook_columns.h"

namespace talvers {

class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kSortRole = Qt::UserRole;

    // `rows` must not be null.
    ReportTableModel(std::shared_ptr<const Table> rows, const QLocale& locale,
                     QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    const Table& table() const { return *rows_; }

    // A number cell's text in the workbook's number format: 1234567.5 -> "1 234 567,50" in
    // Portuguese, "1,234,567.50" in English. Texts and dates are not numbers: their own text.
    static QString numberText(const Value& value, const QLocale& locale);

  private:
    QVariant display(const Value& value, int column) const;

    std::shared_ptr<const Table> rows_;
    QLocale locale_;
    std::vector<ColumnKind> kinds_;
};

}  // namespace talvers
