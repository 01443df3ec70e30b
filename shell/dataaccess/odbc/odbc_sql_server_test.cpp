// The ODBC backend against SQL Server's protocol: FreeTDS's driver talking to the TDS double
// (tests/tds_double), which serves an ERP fixture with every column typed as the ERP's schema
// declares it. What the SQLite ODBC driver hides — money and decimals, datetime, long texts
// read in pieces, errors after rows, deadlines while rows arrive — is proven here.
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/odbc/odbc_connection.h"
#include "shell/dataaccess/odbc/odbc_connection_string.h"
#include "tests/support/erp_fixture.h"
#include "tests/support/tds_double_process.h"

namespace talvers {
namespace {

using testing::ErpFixture;
using testing::TdsDoubleProcess;

// Longer than any piece the driver hands over and than SQL Server's default text size, with
// accents all the way (two bytes each in UTF-8, one in Windows-1252).
std::string longText(const char* unit, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) text += unit;
    return text;
}

class OdbcSqlServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { std::setlocale(LC_CTYPE, "C.UTF-8"); }

    void SetUp() override {
        erp_.execMain(
            "INSERT INTO Artigos (Codigo, Nome, Abrev, ArtouDes, DiasSkRs, TotEncCl, TotEncFo, "
            "Stdisp) VALUES ('A1', 'Łódź € ação', 'Peça €', 1, -32768, 123456789012.3456, "
            "-0.0001, 2.5), ('A2', NULL, NULL, 0, NULL, NULL, NULL, NULL);"
            "INSERT INTO DOCGCLIN (TpDocum, Ano, Serie, NNumDoc, NumLinha, Artigo, Quant, "
            "QtdOrig, Valor, [convert]) VALUES ('ECL', 2024, 'A', 1, 1, 'A1', 2.5, 1234.5678, "
            "-99.9999, -1), ('ECL', 2024, 'A', 1, 2, 'A2', NULL, NULL, NULL, NULL);"
            "INSERT INTO DOCGCCAB (TpDoc, Ano, Serie, NNumDoc, Data, Observ) VALUES "
            "('ECL', 2024, 'A', 1, '2024-12-31 23:59:59.997', '" +
            longText("Observação ", 1000) +
            "'), ('ECL', 2024, 'A', 2, NULL, NULL);"
            "INSERT INTO U_DOCGCLIN (Tpdocum, Ano, Serie, NNumDoc, NumLinha, Obs) VALUES "
            "('ECL', 2024, 'A', 1, 1, '" +
            longText("Nota ção Ł ", 1000) +
            "');"
            "INSERT INTO U_DocGCLin0 (TpDocum, Ano, Serie, NNumDoc, NumLinha, OBS) VALUES "
            "('ECL', 2024, 'A', 1, 1, '" +
            longText("Obs ção 𝄞 ", 1000) + "');");
    }

    std::unique_ptr<TdsDoubleProcess> start(std::vector<std::string> options = {}) {
        options.insert(options.end(), {"--catalog", "ERP=" + erp_.mainFile().string(), "--catalog",
                                       "EXT=" + erp_.externalFile().string(), "--trace",
                                       (dir_ / "trace.txt").string()});
        return std::make_unique<TdsDoubleProcess>(options);
    }

    static std::unique_ptr<OdbcConnection> connect(const TdsDoubleProcess& server,
                                                   const ConnectionDeadlines& deadlines = {}) {
        const ConnectionSettings s = server.settings("ERP", deadlines);
        return OdbcConnection::open(buildOdbcConnectionString(s), s.deadlines);
    }

    ErpFixture erp_;
    testing::TempDir dir_;
};

TEST_F(OdbcSqlServerTest, EveryTypeArrivesAsItsValue) {
    const auto server = start();
    const auto db = connect(*server);
    EXPECT_TRUE(db->holdsOnlyDeclaredTypes());
    const Table t = db->query(
        "SELECT a.Codigo, a.Nome, a.Abrev, a.ArtouDes, a.DiasSkRs, a.TotEncCl, a.TotEncFo, "
        "a.Stdisp, l.Quant, l.QtdOrig, l.Valor, l.[convert] FROM Artigos as a "
        "INNER JOIN DOCGCLIN as l ON l.Artigo = a.Codigo ORDER BY a.Codigo");
    ASSERT_EQ(t.rowCount(), 2u);
    EXPECT_EQ(t.at(0, "Nome"), Value("Łódź € ação"));  // nvarchar: every character
    EXPECT_EQ(t.at(0, "Abrev"), Value("Peça €"));      // varchar: Windows-1252
    EXPECT_EQ(t.at(0, "ArtouDes"), Value(1));
    EXPECT_EQ(t.at(0, "DiasSkRs"), Value(-32768));
    EXPECT_EQ(t.at(0, "TotEncCl"), Value(Money::fromTicks(1234567890123456)));
    EXPECT_EQ(t.at(0, "TotEncFo"), Value(Money::fromTicks(-1)));
    EXPECT_EQ(t.at(0, "Stdisp"), Value(2.5));
    EXPECT_EQ(t.at(0, "Quant").toMoney(), Money::fromTicks(25000));
    EXPECT_EQ(t.at(0, "QtdOrig"), Value(Money::fromTicks(12345678)));
    EXPECT_EQ(t.at(0, "Valor").toMoney(), Money::fromTicks(-999999));
    EXPECT_EQ(t.at(0, "convert"), Value(-1));
    for (const char* money : {"TotEncCl", "QtdOrig"})
        EXPECT_EQ(t.fields()[t.requireField(money)].type, FieldType::Money) << money;
    for (size_t c = 1; c < t.fieldCount(); ++c) {
        EXPECT_EQ(t.at(1, c).isNull(), t.fields()[c].name != "ArtouDes") << t.fields()[c].name;
    }
}

// Also in the smallest packets a server may use, each long value spread over many.
TEST_F(OdbcSqlServerTest, DatesKeepTheirDayAndLongTextsArriveWhole) {
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, std::vector<std::string>{"--packet-size", "512"}}) {
        const auto server = start(options);
        const auto db = connect(*server);
        const Table t = db->query(
            "SELECT c.Data, c.Observ, u.Obs, z.OBS FROM DOCGCCAB as c "
            "LEFT JOIN U_DOCGCLIN as u ON u.NNumDoc = c.NNumDoc "
            "LEFT JOIN U_DocGCLin0 as z ON z.NNumDoc = c.NNumDoc ORDER BY c.NNumDoc");
        ASSERT_EQ(t.rowCount(), 2u);
        EXPECT_EQ(t.at(0, "Data"), Value(DateTime{2024, 12, 31, 23, 59, 59, 997}));
        EXPECT_EQ(t.at(0, "Observ"), Value(longText("Observação ", 1000)));
        EXPECT_EQ(t.at(0, "Obs"), Value(longText("Nota ção Ł ", 1000)));
        EXPECT_EQ(t.at(0, 3), Value(longText("Obs ção 𝄞 ", 1000)));  // "OBS" would find "Obs"
        for (size_t c = 0; c < t.fieldCount(); ++c) EXPECT_TRUE(t.at(1, c).isNull()) << c;
    }
}

TEST_F(OdbcSqlServerTest, AliasesWithAccentsNameTheFields) {
    erp_.execMain("INSERT INTO Armazens VALUES ('001', 'Armazém Central')");
    const auto server = start();
    const Table t = connect(*server)->query(
        "SELECT Codigo as 'Código', Nome as 'Descrição Ł€' FROM Armazens order by Codigo");
    ASSERT_EQ(t.fieldCount(), 2u);
    EXPECT_EQ(t.fields()[0].name, "Código");
    EXPECT_EQ(t.fields()[1].name, "Descrição Ł€");
    EXPECT_EQ(t.at(0, "Descrição Ł€"), Value("Armazém Central"));
}

// The server's default text size is 4 KB: the connection lifts it first thing, and the long
// texts above arrive whole because of it.
TEST_F(OdbcSqlServerTest, TheTextSizeLimitIsLiftedOnConnecting) {
    const auto server = start();
    connect(*server)->query("SELECT Codigo FROM Artigos");
    const std::vector<std::string> batches = testing::traceLines(dir_ / "trace.txt");
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0], "SET TEXTSIZE 2147483647");
}

// In a UTF-8 collation the driver cannot tell a text's length before converting it, and says
// SQL_NO_TOTAL while handing it over piece by piece.
TEST_F(OdbcSqlServerTest, LongTextsOfUnknownLengthArriveWhole) {
    const auto server = start({"--text-collation-utf8"});
    // A character of two UTF-16 units where the driver's piece ends: that piece holds one
    // unit less.
    const std::string straddling = std::string(4094, 'a') + "𝄞" + std::string(5000, 'b');
    erp_.execMain("UPDATE DOCGCCAB SET Observ = '" + straddling + "' WHERE NNumDoc = 2");
    const Table t = connect(*server)->query("SELECT Observ, TpDoc FROM DOCGCCAB ORDER BY NNumDoc");
    ASSERT_EQ(t.rowCount(), 2u);
    EXPECT_EQ(t.at(0, 0), Value(longText("Observação ", 1000)));
    EXPECT_EQ(t.at(0, 1), Value("ECL"));
    EXPECT_EQ(t.at(1, 0), Value(straddling));
}

TEST_F(OdbcSqlServerTest, AnErrorAfterRowsIsAnErrorNotAShortResult) {
    erp_.execMain("INSERT INTO Vendedor VALUES (1, 'a'), (2, 'b'), (3, 'c'), (4, 'd')");
    // After some rows, and after the last one.
    for (const char* fault : {"--fail-after-rows", "--close-after-rows"}) {
        for (const char* rows : {"2", "4"}) {
            const auto server = start({fault, rows});
            const auto db = connect(*server);
            EXPECT_THROW(db->query("SELECT Codigo, Nome FROM Vendedor ORDER BY Codigo"),
                         DatabaseError)
                << fault << " " << rows;
        }
    }
}

// The first rows come, then the server stalls: the deadline passes while the rows are fetched.
TEST_F(OdbcSqlServerTest, ADeadlinePassingWhileRowsArriveIsTheQueryDeadline) {
    erp_.execMain(
        "INSERT INTO Vendedor VALUES (1, 'a'), (2, 'b'), (3, 'c'), (4, 'd'), (5, 'e'), (6, 'f')");
    // A long stall, which the driver's own timer sees, and rows that trickle in under it.
    for (const char* delay : {"3000", "700"}) {
        const auto server = start({"--row-delay-ms", delay});
        const auto db = connect(*server, {15, 30, 2});
        const auto begin = std::chrono::steady_clock::now();
        try {
            db->query("SELECT Codigo, Nome FROM Vendedor ORDER BY Codigo");
            ADD_FAILURE() << "no deadline with a row every " << delay << " ms";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.description().rfind("A consulta não terminou dentro do prazo de 2 s "
                                            "(PrazoConsulta em [Talvers]).",
                                            0),
                      0u)
                << delay << ": " << e.description();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        EXPECT_GE(seconds, 1.9) << delay;
        EXPECT_LT(seconds, 2.9) << delay;  // the six rows at 700 ms would take 3.5 s
        // The connection is still usable.
        EXPECT_EQ(db->query("SELECT Codigo FROM Armazens").rowCount(), 0u) << delay;
    }
}

TEST_F(OdbcSqlServerTest, AFunctionThatExistsIsRefusedAsOnSqlServer) {
    const auto server = start();
    const auto db = connect(*server);
    const std::string create =
        " Create FUNCTION [dbo].[f] ( @a nvarchar (15) ) RETURNS NVARCHAR(40) AS BEGIN RETURN @a "
        "End ";
    db->execute(create);
    try {
        db->execute(create);
        ADD_FAILURE() << "created twice";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), 2714);
        EXPECT_NE(e.details().find("There is already an object named 'f'"), std::string::npos);
    }
}

TEST_F(OdbcSqlServerTest, AWrongLoginIsRefusedWithItsReason) {
    const auto server = start();
    ConnectionSettings s = server->settings("ERP");
    s.password = "errada";
    try {
        OdbcConnection::open(buildOdbcConnectionString(s), s.deadlines);
        ADD_FAILURE() << "logged in";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.number(), 18456);
        EXPECT_EQ(e.description(), "O servidor recusou o utilizador ou a palavra-passe.");
    }
    s = server->settings("NAOHA");
    EXPECT_THROW(OdbcConnection::open(buildOdbcConnectionString(s), s.deadlines), DatabaseError);
}

}  // namespace
}  // namespace talvers
