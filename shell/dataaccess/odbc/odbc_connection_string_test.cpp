#include "shell/dataaccess/odbc/odbc_connection_string.h"

#include <gtest/gtest.h>

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
              "TDS_Version=7.4;ClientCharset=UTF-8");
}
#else
TEST(OdbcConnectionString, DefaultsOnWindowsToMicrosoftsDriverWithoutFreeTdsKeys) {
    EXPECT_EQ(buildOdbcConnectionString(sqlServer("")),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;"
              "UID=talvers;PWD=segredo");
}
#endif

TEST(OdbcConnectionString, FreeTdsNamedByItsLibraryGetsTheSameKeys) {
    EXPECT_EQ(buildOdbcConnectionString(sqlServer("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")),
              "DRIVER=/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so;SERVER=erp01\\SQL2019;"
              "DATABASE=EMPRESA01;UID=talvers;PWD=segredo;TDS_Version=7.4;ClientCharset=UTF-8");
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

TEST(OdbcConnectionString, WithoutUserNameNoLoginKeysAreWritten) {
    ConnectionSettings s = sqlServer("ODBC Driver 18 for SQL Server");
    s.userName.clear();
    s.odbcOptions = "Trusted_Connection=yes";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=ODBC Driver 18 for SQL Server;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;"
              "Trusted_Connection=yes");
}

TEST(OdbcConnectionString, ValuesWithSeparatorsBracesOrOuterBlanksAreBraced) {
    EXPECT_EQ(odbcAttributeValue("a;b"), "{a;b}");
    EXPECT_EQ(odbcAttributeValue("x}y"), "{x}}y}");
    EXPECT_EQ(odbcAttributeValue("{z"), "{{z}");
    EXPECT_EQ(odbcAttributeValue("}"), "{}}}");
    EXPECT_EQ(odbcAttributeValue(" lead"), "{ lead}");
    EXPECT_EQ(odbcAttributeValue("trail "), "{trail }");
    // Inner blanks, '=' and ',' are plain text to every driver.
    EXPECT_EQ(odbcAttributeValue("in side=1,2"), "in side=1,2");
    EXPECT_EQ(odbcAttributeValue(""), "");

    ConnectionSettings s = sqlServer("FreeTDS");
    s.password = "p;w}d ";
    s.userName = " ana";
    EXPECT_EQ(buildOdbcConnectionString(s),
              "DRIVER=FreeTDS;SERVER=erp01\\SQL2019;DATABASE=EMPRESA01;UID={ ana};PWD={p;w}}d };"
              "TDS_Version=7.4;ClientCharset=UTF-8");
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
