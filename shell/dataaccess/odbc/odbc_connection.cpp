#include "shell/dataaccess/odbc/odbc_connection.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <optional>

#include "shell/dataaccess/odbc/odbc_connect_watchdog.h"
#include "shell/dataaccess/odbc/odbc_result_set.h"
#include "shell/dataaccess/odbc/utf16_text.h"

namespace talvers {

namespace {

SQLPOINTER integerAttribute(int value) {
    return reinterpret_cast<SQLPOINTER>(static_cast<std::intptr_t>(value));
}

// The number a passed deadline is reported with when the driver gave none of its own.
constexpr long kDeadlineError = 50004;

bool timedOut(const OdbcHandle& handle) {
    return handle.hasState("HYT00") || handle.hasState("HYT01");
}

DatabaseError deadlinePassed(const DatabaseError& driverError, std::string_view what, int seconds,
                             std::string_view key) {
    std::string text = std::string(what) + " dentro do prazo de " + std::to_string(seconds) +
                       " s (" + std::string(key) + " em [Talvers]).";
    if (!driverError.description().empty()) text += " " + driverError.description();
    return DatabaseError(driverError.number() != 0 ? driverError.number() : kDeadlineError, text);
}

}  // namespace

std::unique_ptr<OdbcConnection> OdbcConnection::open(const std::string& connectionString,
                                                     const ConnectionDeadlines& deadlines) {
    OdbcHandle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    environment.check(
        SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, integerAttribute(SQL_OV_ODBC3), 0),
        "SQLSetEnvAttr");
    OdbcHandle connection(SQL_HANDLE_DBC, environment.get());
    // FreeTDS bounds the network connect by the connection timeout, Microsoft's driver the
    // login by the login timeout: both get the login deadline (never more than the whole
    // connection's), so that an unreachable server fails quickly. Neither bounds a server that
    // keeps sending a little: the watchdog does.
    const int driverSeconds = std::min(deadlines.loginSeconds, deadlines.connectionSeconds);
    connection.check(SQLSetConnectAttrW(connection.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                        integerAttribute(driverSeconds), 0),
                     "SQLSetConnectAttr");
    connection.check(SQLSetConnectAttrW(connection.get(), SQL_ATTR_CONNECTION_TIMEOUT,
                                        integerAttribute(driverSeconds), 0),
                     "SQLSetConnectAttr");
    std::u16string text = utf8ToUtf16(connectionString);
    if (text.size() > SHRT_MAX)
        throw DatabaseError(0, "A cadeia de ligação ODBC é demasiado longa.");
    // The first statement is part of the connection: a server that logs in and then stalls
    // is cut off too.
    ConnectWatchdog watchdog(std::chrono::seconds(deadlines.connectionSeconds));
    const SQLRETURN rc = SQLDriverConnectW(connection.get(), nullptr, sqlWide(text),
                                           static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                           nullptr, SQL_DRIVER_NOPROMPT);
    std::unique_ptr<OdbcConnection> result;
    std::optional<DatabaseError> failure;
    if (SQL_SUCCEEDED(rc)) {
        result.reset(new OdbcConnection(std::move(environment), std::move(connection),
                                        deadlines.querySeconds));
        try {
            if (result->isSqlServer()) result->runExecute("SET TEXTSIZE 2147483647");
        } catch (const DatabaseError& e) {
            failure = e;
        }
    } else {
        failure = connection.error("SQLDriverConnect");
    }
    if (watchdog.disarm()) {
        throw deadlinePassed(failure.value_or(DatabaseError(0, "")),
                             "O servidor não concluiu a ligação", deadlines.connectionSeconds,
                             "PrazoLigacao");
    }
    if (!SQL_SUCCEEDED(rc) && timedOut(connection)) {
        throw deadlinePassed(
            *failure, "O servidor não respondeu ao início de sessão", driverSeconds,
            driverSeconds == deadlines.loginSeconds ? "PrazoLogin" : "PrazoLigacao");
    }
    if (failure) throw *failure;
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
    if (querySeconds_ > 0) {
        statement.check(SQLSetStmtAttrW(statement.get(), SQL_ATTR_QUERY_TIMEOUT,
                                        integerAttribute(querySeconds_), 0),
                        "SQLSetStmtAttr");
    }
    std::u16string text = utf8ToUtf16(sql);
    const SQLRETURN rc =
        SQLExecDirectW(statement.get(), sqlWide(text), static_cast<SQLINTEGER>(text.size()));
    // No data: a searched UPDATE or DELETE that matched no row, which is no failure.
    if (rc == SQL_NO_DATA || SQL_SUCCEEDED(rc)) return statement;
    if (querySeconds_ > 0 && timedOut(statement)) {
        throw deadlinePassed(statement.error("SQLExecDirect"), "A consulta não terminou",
                             querySeconds_, "PrazoConsulta");
    }
    throw statement.error("SQLExecDirect");
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
