#include "shell/desktop/common/localized_file_model.h"

#include <QFileSystemModel>
#include <QLocale>

namespace talvers {

QString LocalizedFileModel::dateText(const QDateTime& when) {
    return QLocale().toString(when, QStringLiteral("dd-MM-yyyy HH:mm"));
}

QVariant LocalizedFileModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kDateColumn) return dateText(files->lastModified(source));
    if (index.column() == kSizeColumn && !files->isDir(source))
        return QLocale().formattedDataSize(files->size(source), 1,
                                           QLocale::DataSizeTraditionalFormat);
    return QIdentityProxyModel::data(index, role);
}

}  // namespace talvers
