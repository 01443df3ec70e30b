#include "shell/dataaccess/odbc/odbc_connection_string.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/database_error.h"

namespace talvers {
namespace {

ConnectionSettings sqlServer(std::string driver) {
    ConnectionSettings s;
    s.server = "erp01\\SQL2019";
    s.database = "EMPRESA01";
    s.userName = "talvers";
    s.password = "segredo";
    s.driver = std::move(driver);
    return s;
}

#ifndef _WIN32
TEST(OdbcConnectionString, DefaultsToFreeTdsWithUtf8AndAFixedProtocol) {
    EXPECT_EQ(buildOdbcConnectionString(sqlServer("")),
              "DRIVER=FreeTDS;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;UID=talvers;PWD=segredo;"
              "TDS_Version=7.4;ClientCharset=UTF-8;Encryption=request");
}
#else
TEST(OdbcConnectionString, DefaultsOnWindowsToMicrosoftsDriverWithoutFreeTdsKeys) {
    EXPECT_EQ(buildOdbcConnectionString(sqlServer("")),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;"
              "UID=talvers;PWD=segredo;Encrypt=yes;TrustServerCertificate=yes");
}
#endif

TEST(OdbcConnectionString, FreeTdsNamedByItsLibraryGetsTheSameKeys) {
    EXPECT_EQ(buildOdbcConnectionString(sqlServer("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")),
              "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;SERVER=erp01\\SQL2019;"
              "DATABASE=EMPRESA01;UID=talvers;PWD=segredo;TDS_Version=7.4;ClientCharset=UTF-8;"
              "Encryption=request");
}

TEST(OdbcConnectionString, OtherDriversGetNoFreeTdsKeysAndTheExtraOptionsComeLast) {
    ConnectionSettings s = sqlServer("ODBC Driver 18 for SQL Server");
    s.server = "erp01,1433";
    s.odbcOptions = "Encrypt=yes;TrustServerCertificate=no";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01,1433;DATABASE=EMPRESA01;"
              "UID=talvers;PWD=segredo;Encrypt=yes;TrustServerCertificate=no");
    s.odbcOptions = ";Encrypt=no";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01,1433;DATABASE=EMPRESA01;"
              "UID=talvers;PWD=segredo;Encrypt=no");
}

// Each choice in each driver's keys; extra options that set one of them leave all to them.
TEST(OdbcConnectionString, EncryptionInTheDriversOwnKeys) {
    const struct {
        Encryption encryption;
        const char* freeTds;
        const char* microsoft;
    } cases[] = {
        {Encryption::Default, "Encryption=request", "Encrypt=yes;TrustServerCertificate=yes"},
        {Encryption::Required, "Encryption=require", "Encrypt=yes;TrustServerCertificate=no"},
        {Encryption::Off, "Encryption=off", "Encrypt=no"},
    };
    const std::string head = "SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;UID=talvers;PWD=segredo;";
    for (const auto& c : cases) {
        ConnectionSettings s = sqlServer("FreeTDS");
        s.encryption = c.encryption;
        EXPECT_EQ(buildOdbcConnectionString(s),
                  "DRIVER=FreeTDS;" + head + "TDS_Version=7.4;ClientCharset=UTF-8;" + c.freeTds);
        s.driver = "ODBC Driver 18 for SQL Server";
        EXPECT_EQ(buildOdbcConnectionString(s),
                  "DRIVER=ODBC Driver 18 for SQL Server;" + head + c.microsoft);
        for (const char* own :
             {"encrypt=strict", " TrustServerCertificate =yes", "Encryption=off"}) {
            s.odbcOptions = std::string("APP=x;") + own;
            EXPECT_EQ(buildOdbcConnectionString(s),
                      "DRIVER=ODBC Driver 18 for SQL Server;" + head + "APP=x;" + own);
        }
    }
    ConnectionSettings sqlite;
    sqlite.driver = "SQLite3";
    sqlite.database = "erp.db";
    sqlite.encryption = Encryption::Required;
    EXPECT_EQ(buildOdbcConnectionString(sqlite), "DRIVER=SQLite3;Database=erp.db");
}

TEST(OdbcConnectionString, WithoutUserNameNoLoginKeysAreWritten) {
    ConnectionSettings s = sqlServer("ODBC Driver 18 for SQL Server");
    s.userName.clear();
    s.odbcOptions = "Trusted_Connection=yes";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;"
              "Encrypt=yes;TrustServerCertificate=yes;Trusted_Connection=yes");
}

// The ODBC rule doubles '}' inside braces; FreeTDS reads a braced value up to the first
// "};" and keeps "}}" as it is, so for FreeTDS the braces hold the value unchanged.
TEST(OdbcConnectionString, ValuesWithSeparatorsBracesOrOuterBlanksAreBraced) {
    const ConnectionSettings odbc = sqlServer("ODBC Driver 18 for SQL Server");
    const ConnectionSettings freeTds = sqlServer("FreeTDS");
    struct Case {
        const char* value;
        const char* odbcForm;
        const char* freeTdsForm;
    };
    for (const Case& c :
         {Case{"a;b", "{a;b}", "{a;b}"}, Case{"x}y", "{x}}y}", "{x}y}"}, Case{"{z", "{{z}", "{{z}"},
          Case{"}", "{}}}", "{}}"}, Case{"z{", "z{", "z{"}, Case{" lead", "{ lead}", "{ lead}"},
          Case{"trail ", "{trail }", "{trail }"},
          // Inner blanks, '=' and ',' are plain text to every driver.
          Case{"in side=1,2", "in side=1,2", "in side=1,2"}, Case{"", "", ""}}) {
        EXPECT_EQ(odbcAttributeValue(odbc, c.value), c.odbcForm) << c.value;
        EXPECT_EQ(odbcAttributeValue(freeTds, c.value), c.freeTdsForm) << c.value;
    }
    ConnectionSettings s = freeTds;
    s.password = "p;w}d ";
    s.userName = " ana";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=FreeTDS;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;UID={ ana};PWD={p;w}d };"
              "TDS_Version=7.4;ClientCharset=UTF-8;Encryption=request");
}

TEST(OdbcConnectionString, FreeTdsCannotCarryABraceFollowedBySemicolon) {
    ConnectionSettings s = sqlServer("FreeTDS");
    s.password = "a};b";
    EXPECT_EQ(unsendableValue(s, "LigaçãoExterna"),
              "[LigaçãoExterna] Password: o controlador FreeTDS não consegue transmitir o "
              "carácter ';' logo a seguir a '}'; escolha um valor sem \"};\".");
    EXPECT_THROW(buildOdbcConnectionString(s), DatabaseError);
    s.password = "a;}b}";
    EXPECT_EQ(unsendableValue(s, "Ligação"), "");
    s.driver = "ODBC Driver 18 for SQL Server";
    s.password = "a};b";
    EXPECT_EQ(unsendableValue(s, "Ligação"), "");
    EXPECT_NE(buildOdbcConnectionString(s).find("PWD={a}};b}"), std::string::npos);
}

TEST(OdbcConnectionString, SqliteDriverGetsOnlyTheDatabaseFile) {
    ConnectionSettings s = sqlServer("SQLite3");
    s.database = "/tmp/dados/erp.db";
    EXPECT_EQ(buildOdbcConnectionString(s), "DRIVER=SQLite3;Database=/tmp/dados/erp.db");
    s.driver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so;Database=/tmp/dados/erp.db");
}

}  // namespace
}  // namespace talvers
