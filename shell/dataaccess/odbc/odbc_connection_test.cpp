#include "shell/dataaccess/odbc/odbc_connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <filesystem>
#include <future>
#include <iostream>
#include <optional>
#include <thread>

#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "shell/dataaccess/odbc/utf16_text.h"
#include "shell/platform/utf8_path.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include "tests/support/erp_fixture.h"
#include "tests/support/fake_tds_server.h"
#include "tests/support/tds_double_process.h"
#endif

namespace talvers {
namespace {

#ifdef _WIN32
// Under Wine, which the Windows pass runs in, kernel32 has this extra call; Windows has not.
using UnixFileName = char*(CDECL*)(const WCHAR*);
UnixFileName wineUnixFileName() {
    // Through void*: the call's own type is not GetProcAddress's.
    return reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}
#endif

// The file name the driver opens. Under Wine the ODBC drivers are the host's libraries: they
// open the host's path of the file, not its Windows one (C:\users\...).
std::string driverPath(const std::filesystem::path& file) {
#ifdef _WIN32
    if (const UnixFileName unixName = wineUnixFileName()) {
        char* name = unixName(file.c_str());
        const std::string result = name ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }
#endif
    return utf8FromPath(file);
}

// The SQL Server driver to try a connection with: the default one, but under Wine the host's
// FreeTDS, since the default Windows driver is not installed there.
std::string sqlServerDriverHere() {
#ifdef _WIN32
    if (wineUnixFileName()) return "FreeTDS";
#endif
    return "";
}

// A text as an SQLite expression that keeps characters outside the Basic Multilingual Plane:
// the driver manager converts the statement text to the driver's 8-bit text in a way that
// loses them (unixODBC falls back to one byte per UTF-16 unit for the whole statement), so
// they go in as the bytes of a blob.
std::string sqliteTextExpression(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "CAST(x'";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out + "' AS TEXT)";
}

// The ODBC path is exercised through the SQLite ODBC driver on a file built here through the
// same ODBC connection (a Windows build has no SQLite library of its own). That driver takes
// 8-bit text, so the driver manager converts the SQL text through the locale's character set:
// the program runs in the user's UTF-8 locale, and so do these tests (under Wine it is the
// host's locale, LC_ALL in the test's environment). Reading text back does not depend on it.
class OdbcConnectionTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        savedLocale_ = std::setlocale(LC_CTYPE, nullptr);
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    static void TearDownTestSuite() { std::setlocale(LC_CTYPE, savedLocale_.c_str()); }

    void SetUp() override {
        file_ = dir_ / "erp.db";
        // The driver makes the file when it connects. Declared numbers are stored as numbers
        // (column affinity), as an ERP copy would.
        const auto db = open();
        db->execute(
            "CREATE TABLE Artigos (Codigo VARCHAR(20), Descricao NVARCHAR(100),"
            " Preco DECIMAL(19,4), Quantidade INTEGER, Peso REAL, Criado DATETIME, Dia DATE,"
            " Obs TEXT)");
        db->execute(
            "INSERT INTO Artigos VALUES ('A1', 'Ligação Açores €', 1234567.8901, "
            "9007199254740993, 2.5, '2024-03-15 10:30:00', '2024-02-29', " +
            sqliteTextExpression(longText()) + ")");
        db->execute(
            "INSERT INTO Artigos VALUES ('A2', 'Outro', 0.1, -3, 0, "
            "'2023-12-31 23:59:59', '2023-01-01', 'curta')");
        db->execute("INSERT INTO Artigos (Codigo) VALUES ('A3')");
    }

    // Longer than any piece the driver hands over, with multi-byte characters (a four-byte
    // one included) so that the pieces are cut inside them.
    static const char* longText() {
        static const std::string text = [] {
            std::string t;
            for (int i = 0; i < 1500; ++i) t += "Observação € \xF0\x9D\x84\x9E ";
            return t;
        }();
        return text.c_str();
    }

    ConnectionSettings settings(const std::string& driver) const {
        ConnectionSettings s;
        s.driver = driver;
        s.database = driverPath(file_);
        return s;
    }

    // The registered driver name, or its library when this machine has not registered it.
    std::unique_ptr<OdbcConnection> open(const ConnectionDeadlines& deadlines = {}) const {
        try {
            return OdbcConnection::open(buildOdbcConnectionString(settings("SQLite3")), deadlines);
        } catch (const DatabaseError&) {
            return OdbcConnection::open(buildOdbcConnectionString(settings(
                                            "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so")),
                                        deadlines);
        }
    }

    testing::TempDir dir_;
    std::filesystem::path file_;
    static inline std::string savedLocale_;
};

TEST_F(OdbcConnectionTest, ReadsEveryTypeAsItsValue) {
    const auto connection = open();
    const Table t = connection->query("SELECT * FROM Artigos ORDER BY Codigo");
    ASSERT_EQ(t.rowCount(), 3u);
    ASSERT_EQ(t.fieldCount(), 8u);
    EXPECT_EQ(t.fields()[0].name, "Codigo");
    EXPECT_EQ(t.fields()[0].type, FieldType::Text);
    EXPECT_EQ(t.fields()[0].size, 20);
    EXPECT_EQ(t.fields()[3].type, FieldType::Integer);
    EXPECT_EQ(t.fields()[4].type, FieldType::Double);
    EXPECT_EQ(t.fields()[5].type, FieldType::DateTime);

    EXPECT_EQ(t.at(0, "Descricao"), Value("Ligação Açores €"));
    // Beyond what a double holds exactly: integers are never read through one.
    EXPECT_EQ(t.at(0, "Quantidade"), Value(std::int64_t{9007199254740993}));
    EXPECT_EQ(t.at(1, "Quantidade"), Value(-3));
    EXPECT_EQ(t.at(0, "Peso"), Value(2.5));
    EXPECT_EQ(t.at(0, "Criado"), Value(DateTime{2024, 3, 15, 10, 30, 0}));
    EXPECT_EQ(t.at(1, "Criado"), Value(DateTime{2023, 12, 31, 23, 59, 59}));
    EXPECT_EQ(t.at(0, "Dia"), Value(DateTime{2024, 2, 29}));
}

TEST_F(OdbcConnectionTest, DecimalsAreExactMoneyNeverDoubles) {
    const auto connection = open();
    // SQLite keeps any value in any column, also through its ODBC driver.
    EXPECT_FALSE(connection->holdsOnlyDeclaredTypes());
    const Table t = connection->query("SELECT Preco FROM Artigos ORDER BY Codigo");
    // The driver reports DECIMAL as text; what it returns must still be exact.
    for (size_t row = 0; row < 2; ++row) EXPECT_FALSE(t.at(row, 0).isDouble());
    EXPECT_EQ(t.at(0, 0).toMoney(), Money::fromTicks(12345678901));
    EXPECT_EQ(t.at(1, 0).toMoney(), Money::fromTicks(1000));
}

TEST_F(OdbcConnectionTest, NullsAreNullValues) {
    const auto connection = open();
    const Table t = connection->query("SELECT * FROM Artigos WHERE Codigo = 'A3'");
    ASSERT_EQ(t.rowCount(), 1u);
    for (size_t column = 1; column < t.fieldCount(); ++column) {
        EXPECT_TRUE(t.at(0, column).isNull()) << t.fields()[column].name;
    }
}

TEST_F(OdbcConnectionTest, LongTextIsReadWhole) {
    const auto connection = open();
    const Table t = connection->query("SELECT Obs FROM Artigos WHERE Codigo = 'A1'");
    ASSERT_EQ(t.rowCount(), 1u);
    ASSERT_TRUE(t.at(0, 0).isText());
    EXPECT_GT(t.at(0, 0).text().size(), 10000u);
    EXPECT_EQ(t.at(0, 0).text(), longText());
}

TEST_F(OdbcConnectionTest, AccentsInTheSqlTextReachTheDatabase) {
    const auto connection = open();
    connection->execute("INSERT INTO Artigos (Codigo, Descricao) VALUES ('B1', 'Peça nº 3 ç')");
    const Table t =
        connection->query("SELECT Codigo FROM Artigos WHERE Descricao = 'Ligação Açores €'");
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_EQ(t.at(0, 0), Value("A1"));
    EXPECT_EQ(connection->query("SELECT Descricao FROM Artigos WHERE Codigo = 'B1'").at(0, 0),
              Value("Peça nº 3 ç"));
    EXPECT_EQ(connection->queriesSent(), 2);
    EXPECT_EQ(connection->statementsExecuted(), 1);
}

// A query deadline is handed to every statement; a driver that takes it runs as before.
TEST_F(OdbcConnectionTest, AQueryDeadlineLeavesStatementsThatEndInTimeAlone) {
    const auto connection = open({15, 30, 5});
    EXPECT_EQ(connection->query("SELECT COUNT(*) FROM Artigos").at(0, 0).toInteger(), 3);
    connection->execute("UPDATE Artigos SET Peso = 1 WHERE Codigo = 'ZZ'");
}

TEST_F(OdbcConnectionTest, StatementsWithoutRowsGiveAnEmptyTable) {
    const auto connection = open();
    const Table none = connection->query("SELECT Codigo FROM Artigos WHERE Codigo = 'ZZ'");
    EXPECT_EQ(none.fieldCount(), 1u);
    EXPECT_TRUE(none.empty());
    // An update that matches nothing is no failure.
    connection->execute("UPDATE Artigos SET Peso = 1 WHERE Codigo = 'ZZ'");
    EXPECT_TRUE(connection->query("DELETE FROM Artigos WHERE Codigo = 'ZZ'").empty());
}

TEST_F(OdbcConnectionTest, SqlErrorsCarryTheDriversNumberAndText) {
    const auto connection = open();
    try {
        connection->query("SELECT * FROM TabelaInexistente");
        FAIL() << "the query ran";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), 1);  // SQLite's number for an SQL error
        EXPECT_NE(e.details().find("no such table: TabelaInexistente"), std::string::npos)
            << e.details();
        EXPECT_EQ(e.description().find("no such table"), std::string::npos) << e.description();
    }
    try {
        connection->execute("CREAT TABLE x (a)");
        FAIL() << "the statement ran";
    } catch (const DatabaseError& e) {
        EXPECT_NE(e.details().find("syntax error"), std::string::npos) << e.details();
    }
    // The connection stays usable after a failed statement.
    EXPECT_EQ(connection->query("SELECT COUNT(*) FROM Artigos").at(0, 0).toInteger(), 3);
}

TEST(OdbcConnection, UnknownDriverFailsWithTheDriverManagersMessage) {
    try {
        OdbcConnection::open("DRIVER=TalversNoSuchDriver;Database=x");
        FAIL() << "connected";
    } catch (const DatabaseError& e) {
        // The driver manager's words are the details, the sentence is Portuguese.
        EXPECT_NE(e.details().find("TalversNoSuchDriver"), std::string::npos) << e.details();
        EXPECT_EQ(e.description().find("TalversNoSuchDriver"), std::string::npos)
            << e.description();
    }
}

// Opens on a thread of its own, so that a driver that never gives up fails the test instead
// of hanging it (the stuck thread is left behind).
struct FailedOpen {
    bool failed = false;
    std::string description;
    double seconds = 0;
    std::string details{};
};

FailedOpen openExpectingFailure(const std::string& connectionString,
                                ConnectionDeadlines deadlines) {
    using Clock = std::chrono::steady_clock;
    auto outcome = std::make_shared<std::promise<std::optional<DatabaseError>>>();
    auto result = outcome->get_future();
    const Clock::time_point start = Clock::now();
    std::thread([connectionString, deadlines, outcome] {
        try {
            OdbcConnection::open(connectionString, deadlines);
            outcome->set_value(std::nullopt);
        } catch (const DatabaseError& e) {
            outcome->set_value(e);
        }
    }).detach();
    constexpr int kPatience = 30;
    if (result.wait_for(std::chrono::seconds(kPatience)) != std::future_status::ready) {
        return {false, "still waiting after " + std::to_string(kPatience) + " s", kPatience};
    }
    const std::optional<DatabaseError> error = result.get();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!error) return {false, "connected", seconds};
    return {true, error->description(), seconds, error->details()};
}

TEST(OdbcConnection, ClosedSqlServerPortFailsQuickly) {
    ConnectionSettings s;
    s.server = "127.0.0.1,1";
    s.database = "EMPRESA01";
    s.userName = "talvers";
    s.password = "x";
    s.driver = sqlServerDriverHere();
    const FailedOpen open = openExpectingFailure(buildOdbcConnectionString(s), {10, 30, 0});
    std::cout << "closed port: failed after " << open.seconds << " s\n";
    ASSERT_TRUE(open.failed) << open.description;
    EXPECT_LT(open.seconds, 20.0);
    // The driver's own message, not a missing-driver one, beside the Portuguese sentence.
    EXPECT_EQ(open.description, "A ligação ao servidor de base de dados falhou.");
    EXPECT_NE(open.details.find("connect"), std::string::npos) << open.details;
}

#ifndef _WIN32
// A server that accepts the connection but never answers: only the timeouts end the wait.
TEST(OdbcConnection, SilentSqlServerFailsAfterTheLoginTimeout) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    ConnectionSettings s;
    s.server = "127.0.0.1," + std::to_string(ntohs(address.sin_port));
    s.database = "EMPRESA01";
    s.userName = "talvers";
    s.password = "x";
    const FailedOpen open = openExpectingFailure(buildOdbcConnectionString(s), {3, 30, 0});
    close(listener);
    std::cout << "silent server: failed after " << open.seconds << " s\n";
    ASSERT_TRUE(open.failed) << open.description;
    EXPECT_GE(open.seconds, 2.0);
    EXPECT_LT(open.seconds, 10.0);
    EXPECT_NE(open.description.find("PrazoLogin"), std::string::npos) << open.description;
}

// A server that sends a byte a second restarts the driver's own timeout with every byte: the
// connection deadline ends the attempt however long the login deadline would let it run.
TEST(OdbcConnection, ATricklingServerIsCutOffAtTheConnectionDeadline) {
    testing::FakeTdsServer server;
    ConnectionSettings s;
    s.server = server.server();
    s.database = "EMPRESA01";
    s.userName = "talvers";
    s.password = "x";
    const FailedOpen open = openExpectingFailure(buildOdbcConnectionString(s), {2, 5, 0});
    std::cout << "trickling server: failed after " << open.seconds << " s\n";
    ASSERT_TRUE(open.failed) << open.description;
    EXPECT_GE(open.seconds, 4.5);  // not the 2 s login deadline: the bytes kept it alive
    EXPECT_LT(open.seconds, 9.0);
    EXPECT_EQ(open.description.rfind("O servidor não concluiu a ligação dentro do prazo de 5 s "
                                     "(PrazoLigacao em [Talvers]).",
                                     0),
              0u)
        << open.description;
}

// What FreeTDS puts in the login packet is what the settings hold, braces, separators and
// all: the TDS double, given exactly these credentials, lets the login in.
TEST(OdbcConnection, CredentialsReachTheServerIntactThroughFreeTds) {
    testing::ErpFixture erp;
    for (const char* value : {"p}w", "a;b", "x=y", "{chave}", "}", "a}", "{", " ana ", "pç€"}) {
        const std::string user = std::string("u") + value;
        testing::TdsDoubleProcess server(
            {"--catalog", "ERP=" + erp.mainFile().string(), "--user", user, "--password", value});
        ConnectionSettings s = server.settings("ERP");
        s.userName = user;
        s.password = value;
        try {
            OdbcConnection::open(buildOdbcConnectionString(s), {5, 10, 0});
        } catch (const DatabaseError& e) {
            ADD_FAILURE() << value << ": " << e.description() << " " << e.details();
        }
    }
}
#else
TEST(OdbcConnection, SilentSqlServerFailsAfterTheLoginTimeout) {
    GTEST_SKIP() << "the silent server is made with POSIX sockets; the case runs on Linux";
}
#endif

}  // namespace
}  // namespace talvers
