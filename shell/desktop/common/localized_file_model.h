#pragma once
// LocalizedFileModel: the file dialog's list as the program's language writes it. Qt's file
// model writes sizes and dates in the system's language (an English "9 Dec 2024 14:27:46" on a
// machine set up in English); this proxy writes them as the rest of the program does: dates
// "dd-mm-yyyy hh:mm" and sizes with the Portuguese decimal comma ("12,3 KB"). Folders keep the
// model's own (empty) size. A file's type is named in European Portuguese: the types the
// program's dialogs mostly show by names of its own (the shared MIME database's Portuguese
// calls a zip file "arquivo", as Brazil does), any other by that database's Portuguese name.
// Everything else passes through unchanged.
#include <QHash>
#include <QIdentityProxyModel>

namespace talvers {

class LocalizedFileModel : public QIdentityProxyModel {
    Q_OBJECT
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    // The file model's columns.
    static constexpr int kSizeColumn = 1;
    static constexpr int kTypeColumn = 2;
    static constexpr int kDateColumn = 3;
    // How a date is written in the list.
    static QString dateText(const QDateTime& when);
    // The type name of a MIME type ("application/zip" -> "Ficheiro zip").
    static QString typeName(const QString& mimeType);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    mutable QHash<QString, QString> types_;  // by path: a file's content is read once
};

}  // namespace talvers
