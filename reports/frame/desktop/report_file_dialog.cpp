#include "reports/frame/desktop/report_file_dialog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMimeDatabase>
#include <QStandardPaths>
#include <QTreeView>

#include <algorithm>

#include "shell/desktop/common/localized_file_model.h"

namespace talvers {
namespace {

const QString kFolderKey = QStringLiteral("Settings/SaveFolder");
// Room for the list's columns without scrolling sideways.
constexpr int kMinimumWidth = 900;
constexpr int kTypeColumn = 2;
constexpr int kCellMargin = 16;

}  // namespace

ReportFileDialog::ReportFileDialog(QWidget* parent, const QString& title,
                                   const QStringList& nameFilters, QSettings* store)
    : QFileDialog(parent, title) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite);
    setNameFilters(nameFilters);
    setDirectory(startFolder(store));
    setProxyModel(new LocalizedFileModel(this));
    widenColumns();
    resize(std::max(width(), kMinimumWidth), height());
}

QString ReportFileDialog::startFolder(QSettings* store) {
    if (store) {
        const QString remembered = store->value(kFolderKey).toString();
        if (!remembered.isEmpty() && QFileInfo(remembered).isDir()) return remembered;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
    return QDir::homePath();
}

void ReportFileDialog::rememberFolder(QSettings* store, const QString& fileName) {
    if (!store || fileName.isEmpty()) return;
    store->setValue(kFolderKey, QFileInfo(fileName).absolutePath());
    store->sync();
}

// The widths Qt keeps from the last dialog may cut a heading ("Data de modificaç…"), a date or
// a workbook's type; a column the user made wider stays so.
void ReportFileDialog::widenColumns() {
    auto* view = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view) return;  // the desktop's own dialog lays out its own list
    QHeaderView* header = view->header();
    const int dateWidth = view->fontMetrics().horizontalAdvance(LocalizedFileModel::dateText(
                              QDateTime(QDate(2000, 12, 28), QTime(23, 58)))) +
                          kCellMargin;
    // The type the list mostly shows: a workbook's.
    const QString workbookType =
        QMimeDatabase()
            .mimeTypeForName(
                QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"))
            .comment();
    const int typeWidth = view->fontMetrics().horizontalAdvance(workbookType) + kCellMargin;
    for (int section = 0; section < header->count(); ++section) {
        int wanted = std::max(header->sectionSize(section), header->sectionSizeHint(section));
        if (section == LocalizedFileModel::kDateColumn) wanted = std::max(wanted, dateWidth);
        if (section == kTypeColumn) wanted = std::max(wanted, typeWidth);
        header->resizeSection(section, wanted);
    }
}

}  // namespace talvers
