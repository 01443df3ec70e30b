#include "shell/settings/app_settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "shell/platform/utf8_path.h"
#include "shell/settings/password_codec.h"
#include "shell/settings/settings_error.h"
#include "shell/settings/settings_writer.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

AppSettings fromText(const std::string& text, const fs::path& file = "/cfg/Talvers.qor") {
    return appSettingsFrom(SettingsFile::parse(text), file);
}

TEST(AppSettings, ReadsBothConnectionsAndProgramKeys) {
    const std::string stored = encodePassword("s3gredo");
    const AppSettings s = fromText(
        "[Ligação]\nServidor=erp01\\SQL2019\nEmpresa=EMPRESA01\nUsername=talvers\n"
        "Password=" +
        stored +
        "\nDriver=ODBC Driver 18 for SQL Server\n"
        "OpcoesODBC=Encrypt=yes;TrustServerCertificate=no\n"
        "[LigaçãoExterna]\nMotor=SQLServer\nServidor=lx\nEmpresa=LISBOA\nUsername=u\n"
        "Password=plain\n"
        "[Talvers]\nContribuinteVariante= 500000000 \nUtilitario=1\n");
    EXPECT_EQ(s.main.engine, Engine::SqlServer);
    EXPECT_EQ(s.main.server, "erp01\\SQL2019");
    EXPECT_EQ(s.main.database, "EMPRESA01");
    EXPECT_EQ(s.main.userName, "talvers");
    EXPECT_EQ(s.main.password, "s3gredo");
    EXPECT_EQ(s.main.driver, "ODBC Driver 18 for SQL Server");
    EXPECT_EQ(s.main.odbcOptions, "Encrypt=yes;TrustServerCertificate=no");
    EXPECT_EQ(s.external.engine, Engine::SqlServer);
    EXPECT_EQ(s.external.database, "LISBOA");
    EXPECT_EQ(s.external.password, "plain");
    EXPECT_EQ(s.variantTaxpayer, "500000000");
    EXPECT_TRUE(s.utilityEnabled);
    EXPECT_EQ(s.file, fs::path("/cfg/Talvers.qor"));
    EXPECT_TRUE(missingKeys(s).empty());
}

TEST(AppSettings, UtilityIsOnOnlyForOne) {
    EXPECT_FALSE(fromText("[Talvers]\nUtilitario=0\n").utilityEnabled);
    EXPECT_FALSE(fromText("[Talvers]\nUtilitario=sim\n").utilityEnabled);
    EXPECT_FALSE(fromText("").utilityEnabled);
}

TEST(AppSettings, LookupsAreSetBasedUnlessConsultasSaysLinha) {
    for (const auto& [text, perRow] :
         std::vector<std::pair<std::string, bool>>{{"", false},
                                                   {"[Talvers]\nConsultas=conjunto\n", false},
                                                   {"[Talvers]\nConsultas=linha\n", true},
                                                   {"[Talvers]\nConsultas=LINHA\n", true}}) {
        EXPECT_EQ(fromText(text).perRowLookups, perRow) << text;
    }
    try {
        fromText("[Talvers]\nConsultas=rapido\n");
        ADD_FAILURE() << "accepted";
    } catch (const SettingsError& e) {
        EXPECT_NE(e.description().find("Consultas"), std::string::npos);
    }
}

// Each connection has its own; the file written says the same back (the default by
// leaving the key out).
TEST(AppSettings, EncryptionIsOneOfThreeChoicesPerConnection) {
    const struct {
        const char* value;
        Encryption encryption;
    } cases[] = {{"", Encryption::Default},
                 {"predefinida", Encryption::Default},
                 {"Obrigatória", Encryption::Required},
                 {"OBRIGATÓRIA", Encryption::Required},
                 {"obrigatoria", Encryption::Required},
                 {"desligada", Encryption::Off}};
    for (const auto& c : cases) {
        const AppSettings s = fromText(std::string("[LigaçãoExterna]\nEncriptacao=") + c.value);
        EXPECT_EQ(s.external.encryption, c.encryption) << c.value;
        EXPECT_EQ(s.main.encryption, Encryption::Default) << c.value;
        ConnectionSettings written;
        written.encryption = c.encryption;
        EXPECT_EQ(fromText(settingsFileText(written, written, {})).main.encryption, c.encryption);
    }
    try {
        fromText("[Ligação]\nEncriptacao=sim\n");
        ADD_FAILURE() << "accepted";
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.description(),
                  "Valor desconhecido de Encriptacao em [Ligação]: \"sim\" (valores possíveis: "
                  "predefinida, obrigatoria, desligada).");
    }
}

// Deadlines: defaults 15 s, 30 s and none; the same for both connections; each key on the
// edges of its range, and values that are no whole number, refused naming key and value.
TEST(AppSettings, DeadlinesAreWholeSecondsWithinTheirRanges) {
    EXPECT_EQ(fromText("").main.deadlines, (ConnectionDeadlines{15, 30, 0}));
    const AppSettings s =
        fromText("[Talvers]\nPrazoLogin=1\nPrazoLigacao=3600\nPrazoConsulta=86400\n");
    EXPECT_EQ(s.main.deadlines, (ConnectionDeadlines{1, 3600, 86400}));
    EXPECT_EQ(s.external.deadlines, s.main.deadlines);
    for (const char* text :
         {"PrazoLogin=0", "PrazoLogin=3601", "PrazoLigacao=-1", "PrazoConsulta=86401",
          "PrazoConsulta=1.5", "PrazoLogin=15s", "PrazoLigacao=9999999999"}) {
        try {
            fromText("[Talvers]\n" + std::string(text) + "\n");
            ADD_FAILURE() << text;
        } catch (const SettingsError& e) {
            const std::string_view key(text, std::string_view(text).find('='));
            EXPECT_NE(e.description().find(key), std::string::npos) << e.description();
        }
    }
}

TEST(AppSettings, SqliteDatabaseIsRelativeToTheSettingsFolder) {
    const AppSettings s = fromText(
        "[Ligação]\nMotor=sqlite\nEmpresa=dados/../erp.db\n"
        "[LigaçãoExterna]\nmotor=SQLite\nEmpresa=/var/lib/ext.db\n",
        fs::path("/cfg/Talvers.qor"));
    EXPECT_EQ(s.main.engine, Engine::Sqlite);
    EXPECT_EQ(fs::path(s.main.database), fs::path("/cfg/erp.db"));
    EXPECT_EQ(s.external.engine, Engine::Sqlite);
    EXPECT_EQ(fs::path(s.external.database), fs::path("/var/lib/ext.db"));
    EXPECT_TRUE(missingKeys(s).empty());  // SQLite needs neither server nor user
}

TEST(AppSettings, UnknownMotorNamesTheValue) {
    try {
        fromText("[LigaçãoExterna]\nMotor=oracle\n");
        FAIL() << "an unknown engine must be refused";
    } catch (const SettingsError& e) {
        EXPECT_EQ(e.number(), static_cast<long>(SettingsErrorNumber::InvalidValue));
        EXPECT_NE(e.description().find("\"oracle\""), std::string::npos) << e.description();
        EXPECT_NE(e.description().find("[LigaçãoExterna]"), std::string::npos);
    }
}

TEST(AppSettings, MalformedPasswordNamesItsSection) {
    try {
        fromText("[Ligação]\nPassword=enc1:%%%%\n");
        FAIL() << "a malformed encoded password must be refused";
    } catch (const SettingsError& e) {
        EXPECT_NE(e.description().find("[Ligação]"), std::string::npos) << e.description();
    }
}

TEST(AppSettings, MissingKeysPerEngineAndSection) {
    // An empty password alone is not missing: some logins have none.
    AppSettings s = fromText(
        "[Ligação]\nServidor=s\nEmpresa=e\nUsername=\n"
        "[LigaçãoExterna]\nMotor=sqlite\nServidor=\nUsername=\n");
    EXPECT_EQ(missingKeys(s),
              (std::vector<std::string>{"[Ligação] Username", "[LigaçãoExterna] Empresa"}));
    EXPECT_EQ(missingKeys(fromText("")),
              (std::vector<std::string>{"[Ligação] Servidor", "[Ligação] Empresa",
                                        "[Ligação] Username", "[LigaçãoExterna] Servidor",
                                        "[LigaçãoExterna] Empresa", "[LigaçãoExterna] Username"}));
}

TEST(AppSettings, ReadAppSettingsMakesTheFileAbsolute) {
    testing::TempDir dir;
    {
        std::ofstream out(dir / "loja2.qor");
        out << "[Ligação]\nMotor=sqlite\nEmpresa=erp.db\n";
    }
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const AppSettings s = readAppSettings("loja2.qor");
    fs::current_path(previous);
    EXPECT_EQ(s.file, dir / "loja2.qor");
    EXPECT_EQ(fs::path(s.main.database), dir / "erp.db");
    EXPECT_THROW(readAppSettings(dir / "none.qor"), SettingsError);
}

TEST(AppSettings, AFileUnderAnAccentedFolderIsWrittenAndReadBack) {
    testing::TempDir dir;
    const fs::path folder = dir / "João Conceição";
    fs::create_directory(folder);
    ConnectionSettings main;
    main.engine = Engine::Sqlite;
    main.database = "dados ç/erp.db";
    ConnectionSettings external;
    external.server = "lx";
    external.database = "LISBOA";
    external.userName = "joão";
    external.password = "pé€";
    writeSettingsFile(folder / "Talvers.qor", main, external);

    const AppSettings s = readAppSettings(folder / "Talvers.qor");
    EXPECT_EQ(s.file, folder / "Talvers.qor");
    // The database's text names the file beside the settings, on every system.
    // (A path joined to a narrow text that is not ASCII would read it in the Windows code page.)
    const fs::path database = folder / pathFromUtf8("dados ç") / "erp.db";
    EXPECT_EQ(pathFromUtf8(s.main.database), database);
    EXPECT_EQ(s.main.database, utf8FromPath(database));
    EXPECT_EQ(s.external.userName, "joão");
    EXPECT_EQ(s.external.password, "pé€");
    try {
        readAppSettings(folder / "outro.qor");
        FAIL() << "a missing file must be refused";
    } catch (const SettingsError& e) {
        EXPECT_NE(e.description().find(utf8FromPath(folder / "outro.qor")), std::string::npos)
            << e.description();
    }
}

}  // namespace
}  // namespace talvers
