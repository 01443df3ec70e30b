#include "shell/desktop/common/localized_file_dialog.h"

#include <QDateTime>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

#include "shell/desktop/common/localized_file_model.h"

namespace talvers {
namespace {

// Room for the list's columns without scrolling sideways.
constexpr int kMinimumWidth = 900;
constexpr int kTypeColumn = 2;
constexpr int kCellMargin = 16;

// The widths Qt keeps from the last dialog may cut a heading ("Data de modificaç…"), a date or
// a type.
void widenColumns(QFileDialog& dialog, const QString& usualType) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;  // the desktop's own dialog lays out its own list
    QHeaderView* header = view->header();
    const int dateWidth = view->fontMetrics().horizontalAdvance(LocalizedFileModel::dateText(
                              QDateTime(QDate(2000, 12, 28), QTime(23, 58)))) +
                          kCellMargin;
    const int typeWidth = view->fontMetrics().horizontalAdvance(usualType) + kCellMargin;
    for (int section = 0; section < header->count(); ++section) {
        int wanted = std::max(header->sectionSize(section), header->sectionSizeHint(section));
        if (section == LocalizedFileModel::kDateColumn) wanted = std::max(wanted, dateWidth);
        if (section == kTypeColumn) wanted = std::max(wanted, typeWidth);
        header->resizeSection(section, wanted);
    }
}

}  // namespace

LocalizedFileDialog::LocalizedFileDialog(QWidget* parent, const QString& title,
                                         const QString& usualType)
    : QFileDialog(parent, title) {
    setProxyModel(new LocalizedFileModel(this));
    widenColumns(*this, usualType);
    resize(std::max(width(), kMinimumWidth), height());
}

}  // namespace talvers
