#include "shell/desktop/desktop_startup.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/sqlite/sqlite_connection.h"
#include "shell/settings/settings_writer.h"
#include "tests/support/desktop/desktop_test_support.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

using testing::RecordingPresenter;

class DesktopStartupTest : public ::testing::Test {
  protected:
    talvers::testing::TempDir dir;
    std::filesystem::path file = dir / "Talvers.qor";
    SettingsLocation location{file, file};
    RecordingPresenter messages;
    std::vector<std::filesystem::path> configured;
    std::vector<AppSettings> shownValues;
    // What the configuration step does when it is shown: nothing (cancel) by default.
    std::function<bool()> configurationAnswer = [] { return false; };

    void SetUp() override {
        testing::createErpFile(dir / "erp.db", false,
                               "INSERT INTO EMPRESA VALUES ('ACME LDA', '500000000');");
        testing::createErpFile(dir / "lisboa.db", true);
    }

    DesktopStart start() {
        DesktopStartupSteps steps;
        steps.messages = &messages;
        steps.configure = [this](const std::filesystem::path& f, const AppSettings& current) {
            configured.push_back(f);
            shownValues.push_back(current);
            return configurationAnswer();
        };
        return startDesktopSession(location, steps);
    }

    // The configuration step writes complete SQLite settings, as the dialog would.
    bool writeCompleteSettings() {
        ConnectionSettings main;
        main.engine = Engine::Sqlite;
        main.database = "erp.db";
        ConnectionSettings external = main;
        external.database = "lisboa.db";
        writeSettingsFile(file, main, external);
        return true;
    }
};

TEST_F(DesktopStartupTest, CompleteSettingsOpenTheSessionWithoutConfiguring) {
    testing::writeFile(file,
                       testing::sqliteSettingsText("erp.db", "lisboa.db",
                                                   "[Talvers]\nContribuinteVariante=500000000\n"));
    DesktopStart result = start();
    ASSERT_TRUE(result.session);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.session->caption, "[ACME LDA]");
    EXPECT_TRUE(result.session->companyVariant);
    EXPECT_TRUE(configured.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DesktopStartupTest, AMissingDatabaseFileIsReportedWithNumberAndDescription) {
    testing::writeFile(file, testing::sqliteSettingsText("erp.db", "falta.db"));
    messages.answers = {MessageResult::No};
    const DesktopStart result = start();
    EXPECT_FALSE(result.session);
    EXPECT_EQ(result.exitCode, 1);
    std::string expected;
    try {
        SqliteConnection::open(dir / "falta.db");
    } catch (const DatabaseError& e) {
        expected = startupFailureText(e.description(), e.number());
    }
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              expected + "\n\n" + std::string(kReviewConfigurationQuestion));
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.shown[0].title, "Informação");
    EXPECT_TRUE(configured.empty());
}

// A failure the settings can mend: the configuration step is offered, and once it saved the
// start is tried again from the saved file; Cancel there leaves.
TEST_F(DesktopStartupTest, AStartFailureOffersTheConfigurationThenTriesAgain) {
    testing::writeFile(file, testing::sqliteSettingsText("erp.db", "falta.db"));
    configurationAnswer = [this] { return writeCompleteSettings(); };
    DesktopStart result = start();
    ASSERT_TRUE(result.session);
    EXPECT_EQ(result.session->caption, "[ACME LDA]");
    ASSERT_EQ(configured.size(), 1u);
    EXPECT_EQ(shownValues[0].external.database, "falta.db");  // the file's values, as written
    ASSERT_EQ(messages.shown.size(), 1u);

    testing::writeFile(file, testing::sqliteSettingsText("erp.db", "falta.db"));
    configurationAnswer = [] { return false; };
    messages.shown.clear();
    result = start();
    EXPECT_FALSE(result.session);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(configured.size(), 2u);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// Settings read from the program folder's file are saved to the user's own.
TEST_F(DesktopStartupTest, TheConfigurationIsSavedToTheUsersFile) {
    const std::filesystem::path programFile = dir / "programa.qor";
    testing::writeFile(programFile, "[Ligação]\nServidor=erp01\n");
    location = {programFile, file};
    configurationAnswer = [this] { return writeCompleteSettings(); };
    const DesktopStart result = start();
    ASSERT_EQ(configured.size(), 1u);
    EXPECT_EQ(configured[0], file);
    EXPECT_EQ(shownValues[0].main.server, "erp01");
    EXPECT_TRUE(result.session);
    EXPECT_EQ(testing::readFile(programFile), "[Ligação]\nServidor=erp01\n");
}

TEST_F(DesktopStartupTest, IncompleteSettingsRunTheConfigurationStepThenStart) {
    testing::writeFile(file, "[Ligação]\nServidor=erp01\nEmpresa=EMPRESA01\nUsername=\n");
    configurationAnswer = [this] { return writeCompleteSettings(); };
    DesktopStart result = start();
    ASSERT_EQ(configured.size(), 1u);
    EXPECT_EQ(configured[0], file);
    EXPECT_EQ(shownValues[0].main.server, "erp01");  // the dialog starts from the file
    ASSERT_TRUE(result.session) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_EQ(result.session->caption, "[ACME LDA]");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DesktopStartupTest, AFirstRunWithoutASettingsFileConfiguresIt) {
    configurationAnswer = [this] { return writeCompleteSettings(); };
    const DesktopStart result = start();
    EXPECT_EQ(configured.size(), 1u);
    EXPECT_TRUE(result.session);
}

TEST_F(DesktopStartupTest, CancellingTheConfigurationSaysTheProgramCannotStart) {
    testing::writeFile(file, "[Ligação]\nServidor=erp01\n");
    const DesktopStart result = start();
    EXPECT_EQ(configured.size(), 1u);
    EXPECT_FALSE(result.session);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("não pode iniciar sem uma configuração completa"),
              std::string::npos);
    EXPECT_EQ(messages.shown[0].title, "Informação");
}

TEST_F(DesktopStartupTest, TheConfigurationStepShowsRelativeSqliteFilesAsWritten) {
    testing::writeFile(file, testing::sqliteSettingsText("", "lisboa.db"));
    start();
    ASSERT_EQ(shownValues.size(), 1u);
    EXPECT_EQ(shownValues[0].main.database, "");
    EXPECT_EQ(shownValues[0].external.database, "lisboa.db");
}

TEST_F(DesktopStartupTest, SettingsStillIncompleteAfterConfiguringAreReported) {
    testing::writeFile(file, "[Ligação]\nServidor=erp01\n");
    configurationAnswer = [] { return true; };  // claims success, wrote nothing
    const DesktopStart result = start();
    EXPECT_FALSE(result.session);
    EXPECT_EQ(result.exitCode, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Faltam valores no ficheiro de configuração:\n[Ligação] Empresa\n[Ligação] "
              "Username\n[LigaçãoExterna] Servidor\n[LigaçãoExterna] Empresa\n"
              "[LigaçãoExterna] Username");
}

TEST_F(DesktopStartupTest, AnUnusableSettingsFileIsReportedWithoutConfiguring) {
    testing::writeFile(file, "[Ligação]\nMotor=oracle\n");
    const DesktopStart result = start();
    EXPECT_FALSE(result.session);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(configured.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("oracle"), std::string::npos);
}

}  // namespace
}  // namespace talvers
