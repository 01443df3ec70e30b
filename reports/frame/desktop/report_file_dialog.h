#pragma once
// ReportFileDialog: where the user names a report's workbook. A save dialog that never
// questions overwriting and adds no extension (a name typed without one is kept as typed). It
// starts in the folder of the last workbook saved, which is kept per user in the settings
// store beside the main window's placement (group "Settings", key "SaveFolder"); when there is
// none, or that folder is gone, in the user's Documents folder, else in the home folder — never
// in the folder the program happened to be started from. Its list is in Portuguese
// (LocalizedFileDialog), its type column as wide as a workbook's type.
#include <QSettings>

#include "shell/desktop/common/localized_file_dialog.h"

namespace talvers {

class ReportFileDialog : public LocalizedFileDialog {
    Q_OBJECT
  public:
    // `store` may be null: the dialog then starts in Documents or home and remembers nothing.
    ReportFileDialog(QWidget* parent, const QString& title, const QStringList& nameFilters,
                     QSettings* store);

    // The folder a new dialog starts in (see above).
    static QString startFolder(QSettings* store);
    // Keeps the folder of `fileName` as the next dialog's start.
    static void rememberFolder(QSettings* store, const QString& fileName);
};

}  // namespace talvers
