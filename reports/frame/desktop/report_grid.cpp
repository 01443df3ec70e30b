#include "reports/frame/desktop/report_grid.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>

#include "reports/frame/desktop/report_table_model.h"

namespace talvers {
namespace {

// Enough rows for the columns to fit what the user first sees, without measuring every row
// of a long report.
constexpr int kRowsMeasuredForWidths = 200;
// A long memo column would otherwise push every other column out of sight.
constexpr int kWidestColumn = 400;
// Above and below a row's one line of text.
constexpr int kRowPadding = 4;

}  // namespace

ReportGrid::ReportGrid(QWidget* parent)
    : QTableView(parent), sorter_(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("Grelha"));
    sorter_->setSortRole(ReportTableModel::kSortRole);
    sorter_->setSortLocaleAware(true);
    setModel(sorter_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    setWordWrap(false);
    // Tab leaves the grid for the next control, as it leaves every other one; the arrow keys
    // move between cells.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // One line of text per row: as many rows in sight as the window's height allows.
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    horizontalHeader()->setResizeContentsPrecision(kRowsMeasuredForWidths);
    horizontalHeader()->setMaximumSectionSize(kWidestColumn);
    horizontalHeader()->setSortIndicatorClearable(true);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
}

ReportGrid::~ReportGrid() {
    // The proxy must not outlive its source's signals.
    sorter_->setSourceModel(nullptr);
}

void ReportGrid::showRows(std::shared_ptr<const Table> rows, const QLocale& locale) {
    std::unique_ptr<ReportTableModel> previous = std::move(model_);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    if (rows && !rows->empty()) {
        model_ = std::make_unique<ReportTableModel>(std::move(rows), locale);
    }
    sorter_->setSourceModel(model_.get());
    sorter_->sort(-1);
    if (model_) resizeColumnsToContents();
    scrollToTop();
}

}  // namespace talvers
