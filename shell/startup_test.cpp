#include "shell/startup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/tracing_connection.h"
#include "shell/sql_functions.h"
#include "tests/support/temp_dir.h"
#include "version.h"

namespace talvers {
namespace {

// One shared record of what start-up asked for, in order, across both connections.
struct Journal {
    std::vector<std::string> events;
    std::set<std::string> failingStatements;  // execute() of these throws
    Table company{{{"NOME", FieldType::Text, 60}, {"NumContr", FieldType::Text, 20}}};
};

class FakeConnection : public Connection {
  public:
    FakeConnection(Journal& journal, std::string name)
        : journal_(journal), name_(std::move(name)) {}

  protected:
    Table runQuery(const std::string& sql) override {
        journal_.events.push_back(name_ + " query " + sql);
        if (sql == "SELECT NOME, NumContr FROM dbo.EMPRESA") return journal_.company;
        throw DatabaseError(208, "Invalid object name");
    }
    void runExecute(const std::string& sql) override {
        journal_.events.push_back(name_ + " execute " + sql);
        if (journal_.failingStatements.contains(sql)) {
            throw DatabaseError(2714, "There is already an object named in the database.");
        }
    }

  private:
    Journal& journal_;
    std::string name_;
};

AppSettings settingsFor(const std::string& taxpayer = "500000000") {
    AppSettings s;
    s.main.database = "EMPRESA01";
    s.external.database = "LISBOA";
    s.variantTaxpayer = taxpayer;
    return s;
}

// Opens a fake connection named after the database it is given.
ConnectionOpener openerFor(Journal& journal) {
    return [&journal](const ConnectionSettings& c) -> std::unique_ptr<Connection> {
        journal.events.push_back("open " + c.database);
        return std::make_unique<FakeConnection>(journal, c.database);
    };
}

TEST(StartUp, OpensBothConnectionsThenInstallsTheFunctionsThenReadsTheCompany) {
    Journal journal;
    journal.company.addRow({"ACME LDA", "123456789"});
    const Session session = startUp(settingsFor(), openerFor(journal));
    EXPECT_EQ(journal.events,
              (std::vector<std::string>{"open EMPRESA01", "open LISBOA",
                                        "EMPRESA01 execute " + createLinhaParaStringSql(),
                                        "EMPRESA01 execute " + createLinhaParaStringGuiaSql(),
                                        "EMPRESA01 query SELECT NOME, NumContr FROM dbo.EMPRESA"}));
    ASSERT_NE(session.bd, nullptr);
    ASSERT_NE(session.bdExt, nullptr);
    // The external connection is opened though nothing has used it yet.
    EXPECT_EQ(session.bdExt->queriesSent() + session.bdExt->statementsExecuted(), 0);
    EXPECT_EQ(session.caption, "[ACME LDA]");
    EXPECT_FALSE(session.companyVariant);
    EXPECT_EQ(session.versionText, programVersionText());
    EXPECT_EQ(session.settings.external.database, "LISBOA");
}

TEST(StartUp, FailingCreateIsIgnoredAndTheNextOneStillRuns) {
    Journal journal;
    journal.failingStatements = {createLinhaParaStringSql(), createLinhaParaStringGuiaSql()};
    const Session session = startUp(settingsFor(), openerFor(journal));
    EXPECT_EQ(session.bd->statementsExecuted(), 2);
    EXPECT_EQ(journal.events.back(), "EMPRESA01 query SELECT NOME, NumContr FROM dbo.EMPRESA");
}

TEST(StartUp, ConnectionFailurePropagatesAndStopsStartUp) {
    Journal journal;
    const ConnectionOpener failingExternal =
        [&journal](const ConnectionSettings& c) -> std::unique_ptr<Connection> {
        journal.events.push_back("open " + c.database);
        if (c.database == "LISBOA") throw DatabaseError(18456, "Login failed");
        return std::make_unique<FakeConnection>(journal, c.database);
    };
    try {
        startUp(settingsFor(), failingExternal);
        FAIL() << "a failed connection must reach the caller";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), 18456);
    }
    EXPECT_EQ(journal.events, (std::vector<std::string>{"open EMPRESA01", "open LISBOA"}));
}

// A statement trace that cannot be kept stops start-up before any connection is opened, and
// the settings file it was pointed at stays as it was.
TEST(StartUp, ATraceAskedForButRefusedStopsStartUp) {
    testing::TempDir dir;
    AppSettings settings = settingsFor();
    settings.file = dir / "Talvers.qor";
    testing::writeText(settings.file, "[Ligação]\n");
#ifdef _WIN32
    _putenv_s("TALVERS_SQL_TRACE", utf8FromPath(settings.file).c_str());
#else
    setenv("TALVERS_SQL_TRACE", settings.file.c_str(), 1);
#endif
    Journal journal;
    try {
        startUp(settings, openerFor(journal));
        ADD_FAILURE() << "start-up went on without the trace";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), kSqlTraceError);
    }
#ifdef _WIN32
    _putenv_s("TALVERS_SQL_TRACE", "");
#else
    unsetenv("TALVERS_SQL_TRACE");
#endif
    EXPECT_TRUE(journal.events.empty());
    EXPECT_EQ(testing::fileBytes(settings.file), "[Ligação]\n");
}

TEST(StartUp, CompanyCaptionAndVariantFlag) {
    Journal journal;
    FakeConnection bd(journal, "bd");
    // No company row: no caption, no variant, no failure.
    EXPECT_EQ(readCompany(bd, "500000000").caption, "");
    EXPECT_FALSE(readCompany(bd, "500000000").variant);

    journal.company.addRow({"ACME LDA", " 500000000 "});
    const CompanyInfo match = readCompany(bd, "500000000");
    EXPECT_EQ(match.caption, "[ACME LDA]");
    EXPECT_TRUE(match.variant);
    EXPECT_FALSE(readCompany(bd, "500000001").variant);

    // A numeric column compares by its text form.
    journal.company.at(0, "NumContr") = Value(std::int64_t{500000000});
    EXPECT_TRUE(readCompany(bd, "500000000").variant);

    // Nothing configured never selects the variant, even for an empty NumContr.
    journal.company.at(0, "NumContr") = Value("");
    EXPECT_FALSE(readCompany(bd, "").variant);
    journal.company.at(0, "NumContr") = Value();
    EXPECT_FALSE(readCompany(bd, " ").variant);
}

TEST(StartUp, VersionText) {
    EXPECT_EQ(versionText(22, 2, 1), "22.2.1");
    EXPECT_EQ(versionText(3, 0, 12), "3.0.12");
    EXPECT_EQ(programVersionText(), std::to_string(TALVERS_VERSION_MAJOR) + "." +
                                        std::to_string(TALVERS_VERSION_MINOR) + "." +
                                        std::to_string(TALVERS_VERSION_PATCH));
}

TEST(StartUp, FailureText) {
    EXPECT_EQ(startupFailureText("Login failed", 18456),
              "Não foi possível iniciar o Talvers.\nErro: Login failed  18456");
}

}  // namespace
}  // namespace talvers
