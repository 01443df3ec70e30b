#include "shell/desktop/configuration_dialog.h"

#include "shell/desktop/connection_form.h"

#include <gtest/gtest.h>

#include <functional>

#include <map>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/settings/password_codec.h"
#include "shell/settings/settings_folder.h"
#include "tests/support/desktop/desktop_test_support.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using testing::RecordingPresenter;

// Types into the named field of one tab ("Ligacao" or "LigacaoExterna").
void enter(QDialog& dialog, const char* tab, const char* key, const QString& text) {
    QWidget* form = dialog.findChild<QWidget*>(tab);
    ASSERT_NE(form, nullptr) << tab;
    auto* field = form->findChild<QLineEdit*>(key);
    ASSERT_NE(field, nullptr) << key;
    field->setText(text);
}

void chooseEngine(QDialog& dialog, const char* tab, const QString& motor) {
    auto* engine = dialog.findChild<QWidget*>(tab)->findChild<QComboBox*>("Motor");
    ASSERT_NE(engine, nullptr);
    engine->setCurrentIndex(engine->findData(motor));
    ASSERT_GE(engine->currentIndex(), 0);
}

void press(QDialog& dialog, const char* parent, const char* button) {
    QWidget* owner = parent ? dialog.findChild<QWidget*>(parent) : &dialog;
    auto* found = owner->findChild<QPushButton*>(button);
    ASSERT_NE(found, nullptr) << button;
    found->click();
}

void fillSqlServer(QDialog& dialog, const char* tab, const QString& database) {
    chooseEngine(dialog, tab, "sqlserver");
    enter(dialog, tab, "Servidor", "erp01\\SQL2019");
    enter(dialog, tab, "Empresa", database);
    enter(dialog, tab, "Username", "talvers");
    enter(dialog, tab, "Password", "pa;ss wörd");
}

class ConfigurationDialogTest : public ::testing::Test {
  protected:
    talvers::testing::TempDir dir;
    std::filesystem::path file = dir / "Talvers.qor";
    RecordingPresenter messages;
    std::vector<ConnectionSettings> opened;
    ConnectionOpener recordingOpener = [this](const ConnectionSettings& c) {
        opened.push_back(c);
        if (c.userName == "wrong") throw DatabaseError(18456, "Login failed for user 'wrong'.");
        return std::unique_ptr<Connection>(SqliteConnection::open(dir / "erp.db"));
    };
};

TEST_F(ConfigurationDialogTest, SaveWritesAFileTheProgramReadsBackWithThePasswordEncoded) {
    testing::writeFile(file,
                       "[Talvers]\nContribuinteVariante=500000000\nUtilitario=1\nConsultas=linha\n"
                       "PrazoLigacao=20\n");
    ConfigurationDialog dialog(file, readAppSettings(file), messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    enter(dialog, "Ligacao", "Driver", "ODBC Driver 18 for SQL Server");
    enter(dialog, "Ligacao", "OpcoesODBC", "Encrypt=yes;TrustServerCertificate=no");
    fillSqlServer(dialog, "LigacaoExterna", "  LISBOA  ");
    press(dialog, nullptr, "btGravar");

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.shown.empty());
    const AppSettings read = readAppSettings(file);
    EXPECT_TRUE(missingKeys(read).empty());
    EXPECT_EQ(read.main.engine, Engine::SqlServer);
    EXPECT_EQ(read.main.server, "erp01\\SQL2019");
    EXPECT_EQ(read.main.database, "EMPRESA01");
    EXPECT_EQ(read.main.userName, "talvers");
    EXPECT_EQ(read.main.password, "pa;ss wörd");
    EXPECT_EQ(read.main.driver, "ODBC Driver 18 for SQL Server");
    EXPECT_EQ(read.main.odbcOptions, "Encrypt=yes;TrustServerCertificate=no");
    EXPECT_EQ(read.external.database, "LISBOA");
    EXPECT_EQ(read.external.password, "pa;ss wörd");
    // The [Talvers] values the file held are kept.
    EXPECT_EQ(read.variantTaxpayer, "500000000");
    EXPECT_TRUE(read.utilityEnabled);
    EXPECT_TRUE(read.perRowLookups);  // kept through the save
    EXPECT_EQ(read.main.deadlines, (ConnectionDeadlines{15, 20, 0}));
    const std::string text = testing::readFile(file);
    EXPECT_EQ(text.find("pa;ss"), std::string::npos);
    EXPECT_NE(text.find("Password=" + encodePassword("pa;ss wörd") + "\n"), std::string::npos);
    EXPECT_EQ(text.rfind("[Ligação]\nMotor=sqlserver\n", 0), 0u);
}

TEST_F(ConfigurationDialogTest, StartsWithTheCurrentValuesAndKeepsARelativeSqliteFile) {
    testing::writeFile(file, testing::sqliteSettingsText("erp.db", "lisboa.db"));
    const AppSettings current = readAppSettings(file);
    ConfigurationDialog dialog(file, current, messages);
    EXPECT_EQ(dialog.enteredSettings().main.database, current.main.database);
    EXPECT_EQ(dialog.enteredSettings().main.engine, Engine::Sqlite);
    enter(dialog, "LigacaoExterna", "Empresa", "outra.db");
    press(dialog, nullptr, "btGravar");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NE(testing::readFile(file).find("Empresa=outra.db\n"), std::string::npos);
    EXPECT_EQ(readAppSettings(file).external.database, pathText(dir.path() / "outra.db"));
}

TEST_F(ConfigurationDialogTest, AnEmptyNeededValueIsRefusedAndNothingIsWritten) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    enter(dialog, "Ligacao", "Username", "   ");
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    enter(dialog, "LigacaoExterna", "Password", "");  // an empty password alone is fine
    press(dialog, nullptr, "btGravar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Campos obrigatórios por preencher — Ligação: Utilizador.");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(std::filesystem::exists(file));
}

// The message names the fields as the screen does, tab by tab, and the first of them takes the
// focus; the ODBC hint shows whole.
TEST_F(ConfigurationDialogTest, MissingFieldsAreNamedByTheirCaptionsOnScreen) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    chooseEngine(dialog, "Ligacao", "sqlserver");
    enter(dialog, "Ligacao", "Empresa", "EMPRESA01");
    chooseEngine(dialog, "LigacaoExterna", "sqlite");
    dialog.findChild<QTabWidget*>()->setCurrentIndex(1);
    press(dialog, nullptr, "btGravar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Campos obrigatórios por preencher — Ligação: Servidor, Utilizador; Ligação "
              "externa: Ficheiro.");
    EXPECT_EQ(QApplication::focusWidget(),
              dialog.findChild<QWidget*>("Ligacao")->findChild<QLineEdit*>("Servidor"));
    auto* options = dialog.findChild<QWidget*>("Ligacao")->findChild<QLineEdit*>("OpcoesODBC");
    EXPECT_GT(options->width(),
              options->fontMetrics().horizontalAdvance(options->placeholderText()));
}

TEST_F(ConfigurationDialogTest, AValueTheFileCannotHoldIsRefused) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    // Read back, everything from " ;" would be a comment.
    enter(dialog, "LigacaoExterna", "OpcoesODBC", "Encrypt=yes ;Trust=no");
    press(dialog, nullptr, "btGravar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("[LigaçãoExterna] OpcoesODBC:", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(file));
}

// A user without a settings folder: the configuration lands in the user's own folder, which
// is made for the user alone, and never beside the program.
TEST_F(ConfigurationDialogTest, SaveCreatesTheUsersFolderPrivately) {
    const std::filesystem::path program = dir / "bin";
    std::filesystem::create_directory(program);
    const std::string home = (dir / "home").string();
    const SettingsLocation location =
        locateSettingsFile("", program, [&home](const char* name) -> std::optional<std::string> {
            if (std::string_view(name) == "HOME") return home;
            return std::nullopt;
        });
    ASSERT_EQ(location.saveFile, dir / "home" / ".config" / "kelmar" / "Talvers.qor");
    ConfigurationDialog dialog(location.saveFile, AppSettings{}, messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    press(dialog, nullptr, "btGravar");
    EXPECT_EQ(dialog.result(), QDialog::Accepted)
        << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_EQ(readAppSettings(location.saveFile).main.database, "EMPRESA01");
    EXPECT_TRUE(std::filesystem::is_empty(program));
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(location.saveFile.parent_path()).permissions(),
              std::filesystem::perms::owner_all);
#endif
}

// FreeTDS cannot carry "};" in a value: refused at saving, naming the field.
TEST_F(ConfigurationDialogTest, AValueTheDriverCannotCarryIsRefused) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    enter(dialog, "LigacaoExterna", "Password", "abc};d");
    press(dialog, nullptr, "btGravar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.rfind("[LigaçãoExterna] Password: o controlador FreeTDS", 0),
              0u)
        << messages.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ConfigurationDialogTest, CancelLeavesTheFileAlone) {
    testing::writeFile(file, "[Ligação]\nServidor=x\n");
    ConfigurationDialog dialog(file, readAppSettings(file), messages);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    press(dialog, nullptr, "btCancelar");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(testing::readFile(file), "[Ligação]\nServidor=x\n");
}

TEST_F(ConfigurationDialogTest, TestingReportsSuccessWithTheTabsOwnValues) {
    testing::createErpFile(dir / "erp.db", false);
    ConfigurationDialog dialog(file, AppSettings{}, messages, recordingOpener);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    press(dialog, "LigacaoExterna", "btTestar");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].database, "LISBOA");
    EXPECT_EQ(opened[0].password, "pa;ss wörd");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Ligação estabelecida com sucesso.");
    EXPECT_FALSE(std::filesystem::exists(file));  // testing writes nothing
}

TEST_F(ConfigurationDialogTest, TestingReportsTheFailuresNumberAndDescription) {
    ConfigurationDialog dialog(file, AppSettings{}, messages, recordingOpener);
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    enter(dialog, "Ligacao", "Username", "wrong");
    press(dialog, "Ligacao", "btTestar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Não foi possível estabelecer a ligação.\nErro: Login failed for user 'wrong'.  "
              "18456");
    EXPECT_EQ(messages.shown[0].title, "Informação");
}

// Testar ligação names what is missing or cannot reach the driver, in Portuguese and by the
// captions on screen, and calls no driver.
TEST_F(ConfigurationDialogTest, TestingRefusesMissingOrUnsendableFieldsBeforeAnyDriver) {
    struct Case {
        const char* tab;
        std::function<void(QDialog&)> enterValues;
        std::string reason;  // the message starts with it
        const char* focused;  // the field given the focus, or null
    };
    const Case cases[] = {
        {"Ligacao",
         [](QDialog& d) {
             fillSqlServer(d, "Ligacao", "EMPRESA01");
             enter(d, "Ligacao", "Servidor", "  ");
         },
         "Campos obrigatórios por preencher — Ligação: Servidor.", "Servidor"},
        {"LigacaoExterna",
         [](QDialog& d) {
             fillSqlServer(d, "LigacaoExterna", "LISBOA");
             enter(d, "LigacaoExterna", "Password", "abc};d");
         },
         "[LigaçãoExterna] Password: o controlador FreeTDS", nullptr},
        {"Ligacao", [](QDialog& d) { chooseEngine(d, "Ligacao", "sqlite"); },
         "Campos obrigatórios por preencher — Ligação: Ficheiro.", "Empresa"},
    };
    for (const Case& c : cases) {
        ConfigurationDialog dialog(file, AppSettings{}, messages, recordingOpener);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        c.enterValues(dialog);
        messages.shown.clear();
        press(dialog, c.tab, "btTestar");
        EXPECT_TRUE(opened.empty()) << c.reason;
        ASSERT_EQ(messages.shown.size(), 1u) << c.reason;
        EXPECT_EQ(messages.shown[0].text.rfind(c.reason, 0), 0u) << messages.shown[0].text;
        if (c.focused) {
            EXPECT_EQ(QApplication::focusWidget(),
                      dialog.findChild<QWidget*>(c.tab)->findChild<QLineEdit*>(c.focused));
        }
    }
}

// Procurar... starts at the file named, read against the settings file's folder, else in its
// folder, else in the settings file's folder — never where the program was started.
TEST_F(ConfigurationDialogTest, ProcurarStartsBesideTheDatabaseOrTheSettingsFile) {
    std::filesystem::create_directory(dir / "dados");
    testing::writeFile(dir / "dados" / "erp.db", "");
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    chooseEngine(dialog, "Ligacao", "sqlite");
    auto* form = dialog.findChild<ConnectionForm*>("Ligacao");
    const QString folder = QString::fromStdString(dir.path().string());
    const std::pair<QString, QString> cases[] = {
        {"dados/erp.db", folder + "/dados/erp.db"},
        {folder + "/dados/erp.db", folder + "/dados/erp.db"},
        {"dados/novo.db", folder + "/dados"},
        {"falta/erp.db", folder},
        {"", folder},
    };
    for (const auto& [named, start] : cases) {
        enter(dialog, "Ligacao", "Empresa", named);
        EXPECT_EQ(form->browseStart(), start) << named.toStdString();
    }
}

// Procurar... changes the file only when a file is chosen: Cancel keeps what was typed, even
// though the dialog had a file selected.
TEST_F(ConfigurationDialogTest, ProcurarTakesTheChosenFileAndCancelKeepsTheTypedOne) {
    std::filesystem::create_directory(dir / "dados");
    testing::writeFile(dir / "dados" / "erp.db", "");
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    chooseEngine(dialog, "Ligacao", "sqlite");
    auto* field = dialog.findChild<QWidget*>("Ligacao")->findChild<QLineEdit*>("Empresa");
    const QString chosen = QString::fromStdString((dir / "dados" / "erp.db").string());
    for (const bool accept : {false, true}) {
        field->setText("dados/erp.db");
        QTimer::singleShot(0, [accept] {
            auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(browser, nullptr);
            ASSERT_FALSE(browser->selectedFiles().isEmpty());
            // Through QDialog, where accept() is public; the file dialog's own one runs.
            QDialog* asked = browser;
            accept ? asked->accept() : asked->reject();
        });
        press(dialog, "Ligacao", "btProcurar");
        EXPECT_EQ(field->text(), accept ? chosen : QString("dados/erp.db")) << accept;
    }
}

// Changing the engine shows other fields but keeps the dialog's width.
TEST_F(ConfigurationDialogTest, TheWidthStaysWhenTheEngineChanges) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const int width = dialog.width();
    const int minimum = dialog.minimumSizeHint().width();
    for (const char* motor : {"sqlite", "sqlserver", "sqlite"}) {
        chooseEngine(dialog, "Ligacao", motor);
        QApplication::processEvents();
        EXPECT_EQ(dialog.width(), width) << motor;
        EXPECT_EQ(dialog.minimumSizeHint().width(), minimum) << motor;
    }
}

TEST_F(ConfigurationDialogTest, TestingASqliteFileFindsItBesideTheSettingsFile) {
    testing::createErpFile(dir / "erp.db", false);
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    chooseEngine(dialog, "Ligacao", "sqlite");
    enter(dialog, "Ligacao", "Empresa", "erp.db");
    press(dialog, "Ligacao", "btTestar");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Ligação estabelecida com sucesso.");

    enter(dialog, "Ligacao", "Empresa", "nao-existe.db");
    press(dialog, "Ligacao", "btTestar");
    ASSERT_EQ(messages.shown.size(), 2u);
    std::string expected;
    try {
        SqliteConnection::open(dir / "nao-existe.db");
    } catch (const DatabaseError& e) {
        expected = "Não foi possível estabelecer a ligação.\nErro: " + e.description() + "  " +
                   std::to_string(e.number());
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(messages.shown[1].text, expected);
}

// The encryption choice is shown with SQL Server only, starts at the file's value and is
// saved as chosen.
TEST_F(ConfigurationDialogTest, EncryptionIsChosenPerConnection) {
    testing::writeFile(file, "[LigaçãoExterna]\nEncriptacao=desligada\n");
    ConfigurationDialog dialog(file, readAppSettings(file), messages);
    dialog.show();
    auto* main = dialog.findChild<QWidget*>("Ligacao")->findChild<QComboBox*>("Encriptacao");
    auto* external =
        dialog.findChild<QWidget*>("LigacaoExterna")->findChild<QComboBox*>("Encriptacao");
    ASSERT_TRUE(main && external);
    EXPECT_EQ(external->currentData().toInt(), static_cast<int>(Encryption::Off));
    chooseEngine(dialog, "Ligacao", "sqlite");
    EXPECT_FALSE(main->isVisible());
    fillSqlServer(dialog, "Ligacao", "EMPRESA01");
    EXPECT_TRUE(main->isVisible());
    main->setCurrentIndex(main->findData(static_cast<int>(Encryption::Required)));
    fillSqlServer(dialog, "LigacaoExterna", "LISBOA");
    press(dialog, nullptr, "btGravar");
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const AppSettings read = readAppSettings(file);
    EXPECT_EQ(read.main.encryption, Encryption::Required);
    EXPECT_EQ(read.external.encryption, Encryption::Off);
}

TEST_F(ConfigurationDialogTest, OnlyTheChosenEnginesFieldsAreShown) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    dialog.show();
    QWidget* form = dialog.findChild<QWidget*>("Ligacao");
    chooseEngine(dialog, "Ligacao", "sqlite");
    for (const char* key : {"Servidor", "Username", "Password", "Driver", "OpcoesODBC"})
        EXPECT_FALSE(form->findChild<QLineEdit*>(key)->isVisible()) << key;
    EXPECT_TRUE(form->findChild<QLineEdit*>("Empresa")->isVisible());
    EXPECT_TRUE(form->findChild<QPushButton*>("btProcurar")->isVisible());
    chooseEngine(dialog, "Ligacao", "sqlserver");
    EXPECT_TRUE(form->findChild<QLineEdit*>("Servidor")->isVisible());
    EXPECT_TRUE(form->findChild<QLineEdit*>("Driver")->isVisible());
    EXPECT_FALSE(form->findChild<QPushButton*>("btProcurar")->isVisible());
}

// Alt+letter reaches one control only: the visible captions of the dialog, its tabs and the
// current tab's fields, have distinct accelerators whichever engine is chosen.
TEST_F(ConfigurationDialogTest, EveryAcceleratorIsUnique) {
    ConfigurationDialog dialog(file, AppSettings{}, messages);
    dialog.show();
    for (const QString motor : {"sqlserver", "sqlite"}) {
        chooseEngine(dialog, "Ligacao", motor);
        std::map<int, QString> seen;
        const auto check = [&](const QString& caption) {
            const QKeySequence key = QKeySequence::mnemonic(caption);
            if (key.isEmpty()) return;
            const auto [at, added] = seen.emplace(key[0].toCombined(), caption);
            EXPECT_TRUE(added) << caption.toStdString() << " and " << at->second.toStdString();
        };
        auto* tabs = dialog.findChild<QTabWidget*>();
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < tabs->count(); ++i) check(tabs->tabText(i));
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisible()) check(label->text());
        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            if (button->isVisible()) check(button->text());
        EXPECT_GE(seen.size(), 8u) << motor.toStdString();
    }
}

}  // namespace
}  // namespace talvers
