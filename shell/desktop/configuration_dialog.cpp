#include "shell/desktop/configuration_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "shell/desktop/connection_form.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_file.h"
#include "shell/settings/settings_folder.h"

namespace talvers {
namespace {

std::string connectionFailureText(std::string_view description, long number) {
    return "Não foi possível estabelecer a ligação.\nErro: " + std::string(description) + "  " +
           std::to_string(number);
}

QString tabCaption(const QTabWidget* tabs, const QWidget* page) {
    return tabs->tabText(tabs->indexOf(page)).remove(QLatin1Char('&'));
}

}  // namespace

ConfigurationDialog::ConfigurationDialog(std::filesystem::path file, const AppSettings& current,
                                         MessagePresenter& messages, ConnectionOpener opener,
                                         QWidget* parent)
    : QDialog(parent),
      file_(std::move(file)),
      messages_(messages),
      opener_(std::move(opener)),
      programValues_(programSettingsValues(file_)) {
    setObjectName("frmConfiguracao");
    setWindowTitle("Talvers - Configuração");
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel("Indique as ligações às bases de dados.\nFicheiro de configuração: " +
                                 QString::fromStdString(pathText(file_)),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    tabs_ = new QTabWidget(this);
    QTabWidget* tabs = tabs_;
    const QString folder = QString::fromStdString(pathText(std::filesystem::absolute(file_).parent_path()));
    main_ = new ConnectionForm(tabs);
    main_->setBaseFolder(folder);
    main_->setObjectName("Ligacao");
    main_->setSettings(current.main);
    tabs->addTab(main_, "&Ligação");
    external_ = new ConnectionForm(tabs);
    external_->setBaseFolder(folder);
    external_->setObjectName("LigacaoExterna");
    external_->setSettings(current.external);
    tabs->addTab(external_, "Ligação &externa");
    layout->addWidget(tabs);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton("&Gravar", QDialogButtonBox::AcceptRole);
    save->setObjectName("btGravar");
    save->setDefault(true);
    QPushButton* cancel = buttons->addButton("&Cancelar", QDialogButtonBox::RejectRole);
    cancel->setObjectName("btCancelar");
    layout->addWidget(buttons);

    connect(main_, &ConnectionForm::testRequested, this, [this] { testConnection(*main_); });
    connect(external_, &ConnectionForm::testRequested, this,
            [this] { testConnection(*external_); });
    connect(save, &QPushButton::clicked, this, &ConfigurationDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

AppSettings ConfigurationDialog::enteredSettings() const {
    const std::string text =
        settingsFileText(main_->settings(), external_->settings(), programValues_);
    return appSettingsFrom(SettingsFile::parse(text), std::filesystem::absolute(file_));
}

void ConfigurationDialog::testConnection(const ConnectionForm& form) {
    if (refuseFields({const_cast<ConnectionForm*>(&form)})) return;
    std::string outcome;
    std::string details;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const AppSettings entered = enteredSettings();
        opener_(&form == main_ ? entered.main : entered.external);
        outcome = "Ligação estabelecida com sucesso.";
    } catch (const NumberedError& e) {
        outcome = connectionFailureText(e.description(), e.number());
        details = e.details();
    }
    QApplication::restoreOverrideCursor();
    showMessage(messages_, "", outcome, 2, details);
}

// The fields named as the screen names them, tab by tab; the first one gets the focus, so
// that the user can type at once. Refused now rather than as a login that fails for a reason
// nobody can see.
bool ConfigurationDialog::refuseFields(const QList<ConnectionForm*>& forms) {
    QStringList parts;
    QLineEdit* first = nullptr;
    for (ConnectionForm* form : forms) {
        QStringList captions;
        for (const std::string& key : missingConnectionKeys(form->settings())) {
            captions << form->caption(key);
            if (!first) {
                first = form->field(key);
                tabs_->setCurrentWidget(form);
            }
        }
        if (!captions.isEmpty())
            parts << tabCaption(tabs_, form) + QStringLiteral(": ") + captions.join(", ");
    }
    if (!parts.isEmpty()) {
        showMessage(
            messages_, "",
            ("Campos obrigatórios por preencher — " + parts.join("; ") + ".").toStdString(), 2);
        if (first) first->setFocus();
        return true;
    }
    for (ConnectionForm* form : forms) {
        const ConnectionSettings entered = form->settings();
        const std::string why =
            entered.engine == Engine::SqlServer
                ? unsendableValue(entered, form == main_ ? kMainSection : kExternalSection)
                : "";
        if (!why.empty()) {
            tabs_->setCurrentWidget(form);
            showMessage(messages_, "", why, 2);
            return true;
        }
    }
    return false;
}

void ConfigurationDialog::save() {
    try {
        if (refuseFields({main_, external_})) return;
        // The values as typed: a relative SQLite path stays relative to the settings folder.
        createSettingsFolder(file_);
        writeSettingsFile(file_, main_->settings(), external_->settings());
    } catch (const SettingsError& e) {
        showMessage(messages_, "", e.description(), 2);
        return;
    }
    accept();
}

}  // namespace talvers
