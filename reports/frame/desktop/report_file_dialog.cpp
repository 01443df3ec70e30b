#include "reports/frame/desktop/report_file_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "shell/desktop/common/localized_file_model.h"

namespace talvers {
namespace {

const QString kFolderKey = QStringLiteral("Settings/SaveFolder");

QString workbookType() {
    return LocalizedFileModel::typeName(
        QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"));
}

}  // namespace

ReportFileDialog::ReportFileDialog(QWidget* parent, const QString& title,
                                   const QStringList& nameFilters, QSettings* store)
    : LocalizedFileDialog(parent, title, workbookType()) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite);
    setNameFilters(nameFilters);
    setDirectory(startFolder(store));
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

}  // namespace talvers
