#pragma once
// Qt's own texts and formats in European Portuguese, whatever the system's language: the
// program's translation of the Qt texts it shows (file dialog, standard buttons, edit menus)
// is consulted first, Qt's Brazilian translation for anything it lacks, and dates and
// calendars use Portuguese (Portugal). Call once, after the QApplication exists and before
// any window is made.
#include <QString>

class QCoreApplication;

namespace talvers {

// The folder holding the program's compiled translation, looked for beside the program as
// built (<build>/translations) and as installed (<prefix>/share/talvers/translations); empty
// when neither holds it.
QString translationsFolder();

// Installs the translators (owned by `app`) and sets the default locale. Returns false when
// the program's own translation was not found (Qt's Brazilian one, if any, is still used).
bool useEuropeanPortuguese(QCoreApplication& app);

}  // namespace talvers
