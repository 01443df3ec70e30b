#include "shell/desktop/common/localized_file_model.h"

#include <QFileSystemModel>
#include <QLocale>
#include <QMimeDatabase>

namespace talvers {

QString LocalizedFileModel::dateText(const QDateTime& when) {
    return QLocale().toString(when, QStringLiteral("dd-MM-yyyy HH:mm"));
}

QString LocalizedFileModel::typeName(const QString& mimeType) {
    static const QHash<QString, QString> own{
        {QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"),
         QStringLiteral("Livro do Excel")},
        {QStringLiteral("application/zip"), QStringLiteral("Ficheiro zip")},
        {QStringLiteral("application/vnd.sqlite3"), QStringLiteral("Base de dados SQLite")},
        {QStringLiteral("application/x-sqlite3"), QStringLiteral("Base de dados SQLite")},
        {QStringLiteral("application/octet-stream"), QStringLiteral("Ficheiro")},
        {QStringLiteral("text/plain"), QStringLiteral("Ficheiro de texto")},
        {QStringLiteral("inode/directory"), QStringLiteral("Pasta")},
    };
    if (const auto found = own.constFind(mimeType); found != own.constEnd()) return *found;
    QString comment = QMimeDatabase().mimeTypeForName(mimeType).comment();
    if (comment.isEmpty()) return mimeType;
    comment[0] = comment[0].toUpper();
    return comment;
}

QVariant LocalizedFileModel::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole || !index.isValid())
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    if (index.column() == kDateColumn) return dateText(files->lastModified(source));
    if (index.column() == kTypeColumn && !files->isDir(source)) {
        const QString path = files->filePath(source);
        auto known = types_.constFind(path);
        if (known == types_.constEnd())
            known = types_.insert(
                path, typeName(QMimeDatabase().mimeTypeForFile(files->fileInfo(source)).name()));
        return *known;
    }
    if (index.column() == kSizeColumn && !files->isDir(source))
        return QLocale().formattedDataSize(files->size(source), 1,
                                           QLocale::DataSizeTraditionalFormat);
    return QIdentityProxyModel::data(index, role);
}

}  // namespace talvers
