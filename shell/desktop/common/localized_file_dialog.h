#pragma once
// LocalizedFileDialog: Qt's own file dialog as every file dialog of the program shows it — its
// list in Portuguese (LocalizedFileModel: dates, sizes and type names) and every column at
// least as wide as its heading, the dates as wide as a date and the types as wide as
// `usualType`, the type the list mostly shows. A column the user made wider stays so.
#include <QFileDialog>

namespace talvers {

class LocalizedFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    LocalizedFileDialog(QWidget* parent, const QString& title, const QString& usualType);
};

}  // namespace talvers
