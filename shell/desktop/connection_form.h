#pragma once
// ConnectionForm: the fields of one connection in the configuration dialog — engine
// ("Motor"), server, database or SQLite file (with a browse button), user name, password,
// encryption, ODBC driver and extra ODBC options — and its "Testar ligação" button, whose
// press the form only announces (testRequested). Fields are found by their settings keys as
// objectNames: Motor, Servidor, Empresa, Username, Password, Encriptacao, Driver, OpcoesODBC,
// btProcurar, btTestar.
// Only the fields the chosen engine uses are shown: with SQLite the server, user, password
// and ODBC fields are hidden, with SQL Server the browse button. The fields are wide enough for
// a path and for an ODBC attribute list, with the attribute hint shown whole, and the form keeps
// its width whichever engine is chosen. "Procurar..." opens the program's Portuguese file
// dialog beside the file named (relative to the settings file's folder), else in that folder.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "shell/dataaccess/connection_settings.h"

namespace talvers {

class ConnectionForm : public QWidget {
    Q_OBJECT
  public:
    explicit ConnectionForm(QWidget* parent = nullptr);

    void setSettings(const ConnectionSettings& settings);
    // The entered values, blanks at either end dropped (the password is taken as typed).
    ConnectionSettings settings() const;

    // The field of a settings key (its objectName), and its caption as the screen shows it
    // ("Utilizador" for "Username"); null and "" for a key the form has no field for.
    QLineEdit* field(const std::string& key) const;
    QString caption(const std::string& key) const;

    // The settings file's folder, against which a relative SQLite file is read.
    void setBaseFolder(const QString& folder) { baseFolder_ = folder; }
    // Where "Procurar..." starts: the file named when it exists, else its folder when that
    // exists, else the settings file's folder.
    QString browseStart() const;

  signals:
    void testRequested();

  private:
    QLineEdit* addField(const char* key, const QString& caption);
    void engineChanged();
    void browse();

    QComboBox* engine_;
    QLabel* databaseLabel_;
    QLineEdit* server_;
    QLineEdit* database_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QComboBox* encryption_;
    QLineEdit* driver_;
    QLineEdit* odbcOptions_;
    QPushButton* browse_;
    QString baseFolder_;
};

}  // namespace talvers
