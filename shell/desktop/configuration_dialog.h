#pragma once
// ConfigurationDialog (objectName "frmConfiguracao"): the configuration step that runs when
// the settings file is missing or lacks a value the chosen engine needs. Two tabs
// ("Ligacao", "LigacaoExterna", each a ConnectionForm) start with the current values;
// "Testar ligação" first refuses, as Gravar does but for its own tab, an empty needed value or
// one the ODBC driver cannot carry, before any driver is called; then it opens the tab's
// connection with the values as entered and reports success or the error's number and
// description (the driver's own text as the box's details);
// "Gravar" (btGravar) refuses while a needed value is empty, naming the empty fields by their
// captions on screen tab by tab and giving the first the focus, or while a value the ODBC
// driver cannot carry intact (unsendableValue); otherwise creates the file's folder when
// missing (createSettingsFolder: for the user alone), writes the settings file
// (settings_writer.h) and accepts; "Cancelar" (btCancelar) rejects and leaves the file alone.
#include <QDialog>
#include <QTabWidget>

#include <filesystem>

#include "shell/messages/messages.h"
#include "shell/settings/app_settings.h"
#include "shell/settings/settings_writer.h"
#include "shell/startup.h"

namespace talvers {

class ConnectionForm;

class ConfigurationDialog : public QDialog {
    Q_OBJECT
  public:
    // `current` fills the fields (default values for a file that does not exist yet).
    ConfigurationDialog(std::filesystem::path file, const AppSettings& current,
                        MessagePresenter& messages, ConnectionOpener opener = openConnection,
                        QWidget* parent = nullptr);

    // The entered values as the program will read them from the written file (relative
    // SQLite paths resolved against its folder). Throws SettingsError for a value the file
    // cannot hold.
    AppSettings enteredSettings() const;

  private:
    void testConnection(const ConnectionForm& form);
    // True (after telling the user, and giving the first such field the focus) when a value the
    // chosen engine needs is empty, or one the driver cannot carry, in any of `forms`.
    bool refuseFields(const QList<ConnectionForm*>& forms);
    void save();

    std::filesystem::path file_;
    MessagePresenter& messages_;
    ConnectionOpener opener_;
    ProgramSettingsValues programValues_;
    QTabWidget* tabs_;
    ConnectionForm* main_;
    ConnectionForm* external_;
};

}  // namespace talvers
