#include "shell/desktop/connection_form.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>

namespace talvers {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}
std::string trimmedText(const QLineEdit* field) {
    return field->text().trimmed().toStdString();
}

}  // namespace

ConnectionForm::ConnectionForm(QWidget* parent) : QWidget(parent) {
    auto* layout = new QFormLayout(this);
    engine_ = new QComboBox(this);
    engine_->setObjectName("Motor");
    engine_->addItem("SQL Server", "sqlserver");
    engine_->addItem("SQLite", "sqlite");
    layout->addRow("&Motor", engine_);

    server_ = addField("Servidor", "&Servidor");
    database_ = new QLineEdit(this);
    database_->setObjectName("Empresa");
    browse_ = new QPushButton("Procu&rar...", this);
    browse_->setObjectName("btProcurar");
    auto* databaseRow = new QHBoxLayout;
    databaseRow->addWidget(database_, 1);
    databaseRow->addWidget(browse_);
    databaseLabel_ = new QLabel(this);
    databaseLabel_->setBuddy(database_);
    layout->addRow(databaseLabel_, databaseRow);

    userName_ = addField("Username", "&Utilizador");
    password_ = addField("Password", "&Palavra-passe");
    password_->setEchoMode(QLineEdit::Password);
    driver_ = addField("Driver", "Controla&dor ODBC");
    driver_->setPlaceholderText("predefinido");
    odbcOptions_ = addField("OpcoesODBC", "&Opções ODBC");
    odbcOptions_->setPlaceholderText("Encrypt=yes;TrustServerCertificate=no");

    auto* test = new QPushButton("&Testar ligação", this);
    test->setObjectName("btTestar");
    layout->addRow(test);

    connect(engine_, &QComboBox::currentIndexChanged, this, &ConnectionForm::engineChanged);
    connect(browse_, &QPushButton::clicked, this, &ConnectionForm::browse);
    connect(test, &QPushButton::clicked, this, &ConnectionForm::testRequested);
    engineChanged();
}

QLineEdit* ConnectionForm::addField(const char* key, const QString& caption) {
    auto* field = new QLineEdit(this);
    field->setObjectName(key);
    static_cast<QFormLayout*>(layout())->addRow(caption, field);
    return field;
}

void ConnectionForm::setSettings(const ConnectionSettings& settings) {
    engine_->setCurrentIndex(settings.engine == Engine::Sqlite ? 1 : 0);
    server_->setText(qText(settings.server));
    database_->setText(qText(settings.database));
    userName_->setText(qText(settings.userName));
    password_->setText(qText(settings.password));
    driver_->setText(qText(settings.driver));
    odbcOptions_->setText(qText(settings.odbcOptions));
}

ConnectionSettings ConnectionForm::settings() const {
    ConnectionSettings settings;
    settings.engine =
        engine_->currentData().toString() == "sqlite" ? Engine::Sqlite : Engine::SqlServer;
    settings.server = trimmedText(server_);
    settings.database = trimmedText(database_);
    settings.userName = trimmedText(userName_);
    settings.password = password_->text().toStdString();
    settings.driver = trimmedText(driver_);
    settings.odbcOptions = trimmedText(odbcOptions_);
    return settings;
}

// Only what the chosen engine uses is shown: a SQLite file has no server, user or driver, and a
// SQL Server database is no file to browse for.
void ConnectionForm::engineChanged() {
    const bool sqlServer = engine_->currentData().toString() == "sqlserver";
    auto* rows = static_cast<QFormLayout*>(layout());
    for (QLineEdit* field : {server_, userName_, password_, driver_, odbcOptions_}) {
        rows->setRowVisible(field, sqlServer);
    }
    browse_->setVisible(!sqlServer);
    databaseLabel_->setText(sqlServer ? "&Base de dados" : "&Ficheiro");
}

void ConnectionForm::browse() {
    const QString file = QFileDialog::getOpenFileName(
        this, "Base de dados SQLite", database_->text(),
        "Bases de dados SQLite (*.db *.sqlite *.sqlite3);;Todos os ficheiros (*)");
    if (!file.isEmpty()) database_->setText(file);
}

}  // namespace talvers
