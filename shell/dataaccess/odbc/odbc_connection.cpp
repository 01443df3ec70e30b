#include "shell/dataaccess/odbc/odbc_connection.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "shell/dataaccess/odbc/odbc_result_set.h"
#include "shell/dataaccess/odbc/utf16_text.h"

namespace talvers {

namespace {

SQLPOINTER integerAttribute(int value) {
    return reinterpret_cast<SQLPOINTER>(static_cast<std::intptr_t>(value));
}

}  // namespace

std::unique_ptr<OdbcConnection> OdbcConnection::open(const std::string& connectionString,
                                                     int loginTimeoutSeconds) {
    OdbcHandle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    environment.check(
        SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, integerAttribute(SQL_OV_ODBC3), 0),
        "SQLSetEnvAttr");
    OdbcHandle connection(SQL_HANDLE_DBC, environment.get());
    // FreeTDS bounds the network connect by the connection timeout, Microsoft's driver the
    // login by the login timeout: both are set so that an unreachable server fails quickly.
    connection.check(SQLSetConnectAttrW(connection.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                        integerAttribute(loginTimeoutSeconds), 0),
                     "SQLSetConnectAttr");
    connection.check(SQLSetConnectAttrW(connection.get(), SQL_ATTR_CONNECTION_TIMEOUT,
                                        integerAttribute(loginTimeoutSeconds), 0),
                     "SQLSetConnectAttr");
    std::u16string text = utf8ToUtf16(connectionString);
    if (text.size() > SHRT_MAX)
        throw DatabaseError(0, "A cadeia de ligação ODBC é demasiado longa.");
    connection.check(SQLDriverConnectW(connection.get(), nullptr, sqlWide(text),
                                       static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr,
                                       SQL_DRIVER_NOPROMPT),
                     "SQLDriverConnect");
    std::unique_ptr<OdbcConnection> result(
        new OdbcConnection(std::move(environment), std::move(connection)));
    if (result->isSqlServer()) result->runExecute("SET TEXTSIZE 2147483647");
    return result;
}

bool OdbcConnection::isSqlServer() const {
    std::u16string name(128, u'\0');
    SQLSMALLINT bytes = 0;
    connection_.check(SQLGetInfoW(connection_.get(), SQL_DBMS_NAME, sqlWide(name),
                                  static_cast<SQLSMALLINT>(name.size() * sizeof(char16_t)), &bytes),
                      "SQLGetInfo");
    name.resize(std::min(name.size() - 1, static_cast<size_t>(bytes) / sizeof(char16_t)));
    return utf16ToUtf8(name).find("SQL Server") != std::string::npos;
}

OdbcHandle OdbcConnection::executeDirect(const std::string& sql) {
    OdbcHandle statement(SQL_HANDLE_STMT, connection_.get());
    std::u16string text = utf8ToUtf16(sql);
    const SQLRETURN rc =
        SQLExecDirectW(statement.get(), sqlWide(text), static_cast<SQLINTEGER>(text.size()));
    // No data: a searched UPDATE or DELETE that matched no row, which is no failure.
    if (rc != SQL_NO_DATA) statement.check(rc, "SQLExecDirect");
    return statement;
}

Table OdbcConnection::runQuery(const std::string& sql) {
    const OdbcHandle statement = executeDirect(sql);
    // A batch may begin with statements that return no rows (SET, row counts): the rows are
    // in the first result that has columns.
    for (;;) {
        SQLSMALLINT columnCount = 0;
        statement.check(SQLNumResultCols(statement.get(), &columnCount), "SQLNumResultCols");
        if (columnCount > 0) return fetchResultSet(statement, columnCount);
        const SQLRETURN rc = SQLMoreResults(statement.get());
        if (rc == SQL_NO_DATA) return Table();
        statement.check(rc, "SQLMoreResults");
    }
}

void OdbcConnection::runExecute(const std::string& sql) {
    const OdbcHandle statement = executeDirect(sql);
    // SQL Server reports a failure of a later statement in a batch only when its result is
    // reached, so every result is stepped through.
    for (;;) {
        const SQLRETURN rc = SQLMoreResults(statement.get());
        if (rc == SQL_NO_DATA) return;
        statement.check(rc, "SQLMoreResults");
    }
}

}  // namespace talvers
