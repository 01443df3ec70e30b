#include "shell/desktop/connection_form.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

#include "shell/desktop/common/localized_file_dialog.h"
#include "shell/desktop/common/localized_file_model.h"

namespace talvers {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}
std::string trimmedText(const QLineEdit* field) {
    return field->text().trimmed().toStdString();
}

// A path or an attribute list of this many average characters fits without scrolling.
constexpr int kFieldChars = 48;
// QLineEdit's own margin on either side of its text.
constexpr int kTextMargin = 2;

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
    encryption_ = new QComboBox(this);
    encryption_->setObjectName("Encriptacao");
    encryption_->addItem("Predefinida: quando o servidor a aceita, sem validar o certificado",
                         static_cast<int>(Encryption::Default));
    encryption_->addItem("Obrigatória, com o certificado do servidor validado",
                         static_cast<int>(Encryption::Required));
    encryption_->addItem("Desligada", static_cast<int>(Encryption::Off));
    encryption_->setToolTip(
        "Encriptação da ligação ao SQL Server (Encriptacao nas definições). A predefinida "
        "serve o servidor habitual, com um certificado feito por ele próprio.");
    layout->addRow("E&ncriptação", encryption_);
    driver_ = addField("Driver", "Controla&dor ODBC");
    driver_->setPlaceholderText("predefinido");
    odbcOptions_ = addField("OpcoesODBC", "&Opções ODBC");
    // Not an encryption attribute: one given here overrides the choice above.
    const QString hint = "APP=Talvers";
    odbcOptions_->setPlaceholderText(hint);
    odbcOptions_->setToolTip("Atributos ODBC adicionais, separados por ponto e vírgula (por "
                             "exemplo " + hint + "); a encriptação escolhe-se acima.");

    const int wide = std::max(database_->fontMetrics().averageCharWidth() * kFieldChars,
                              odbcOptions_->fontMetrics().horizontalAdvance(hint));
    for (QLineEdit* field : {server_, database_, userName_, password_, driver_, odbcOptions_}) {
        // The frame and the text margins come on top of the text itself.
        QStyleOptionFrame frame;
        frame.initFrom(field);
        frame.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, field);
        const QSize room = field->style()->sizeFromContents(
            QStyle::CT_LineEdit, &frame, QSize(wide + 2 * kTextMargin, 0), field);
        field->setMinimumWidth(room.width());
    }
    // The file's row holds the browse button too: with it the row is no wider than the others,
    // so the dialog keeps its width when the engine changes.
    database_->setMinimumWidth(database_->minimumWidth() - browse_->sizeHint().width() -
                               std::max(0, databaseRow->spacing()));

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

QLineEdit* ConnectionForm::field(const std::string& key) const {
    return findChild<QLineEdit*>(QString::fromStdString(key));
}

QString ConnectionForm::caption(const std::string& key) const {
    QLineEdit* input = field(key);
    if (!input) return {};
    const auto* rows = static_cast<QFormLayout*>(layout());
    QWidget* label = rows->labelForField(input);
    // The file's row holds the field and the browse button in a layout of their own.
    if (!label && input == database_) label = databaseLabel_;
    const auto* text = qobject_cast<QLabel*>(label);
    return text ? QString(text->text()).remove(QLatin1Char('&')) : QString();
}

void ConnectionForm::setSettings(const ConnectionSettings& settings) {
    engine_->setCurrentIndex(settings.engine == Engine::Sqlite ? 1 : 0);
    server_->setText(qText(settings.server));
    database_->setText(qText(settings.database));
    userName_->setText(qText(settings.userName));
    password_->setText(qText(settings.password));
    driver_->setText(qText(settings.driver));
    odbcOptions_->setText(qText(settings.odbcOptions));
    encryption_->setCurrentIndex(encryption_->findData(static_cast<int>(settings.encryption)));
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
    settings.encryption = static_cast<Encryption>(encryption_->currentData().toInt());
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
    rows->setRowVisible(encryption_, sqlServer);
    browse_->setVisible(!sqlServer);
    databaseLabel_->setText(sqlServer ? "&Base de dados" : "&Ficheiro");
}

QString ConnectionForm::browseStart() const {
    const QString named = database_->text().trimmed();
    if (!named.isEmpty()) {
        const QFileInfo file(QDir(baseFolder_).absoluteFilePath(named));
        if (file.isFile()) return file.absoluteFilePath();
        if (file.absoluteDir().exists()) return file.absolutePath();
    }
    return baseFolder_.isEmpty() ? QDir::homePath() : baseFolder_;
}

void ConnectionForm::browse() {
    LocalizedFileDialog dialog(this, "Base de dados SQLite",
                               LocalizedFileModel::typeName("application/vnd.sqlite3"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {"Bases de dados SQLite (*.db *.sqlite *.sqlite3)", "Todos os ficheiros (*)"});
    const QFileInfo start(browseStart());
    if (start.isFile()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
    } else {
        dialog.setDirectory(start.absoluteFilePath());
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        database_->setText(dialog.selectedFiles().first());
}

}  // namespace talvers
