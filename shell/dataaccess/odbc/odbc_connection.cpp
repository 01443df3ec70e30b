#include "shell/dataaccess/odbc/odbc_connection.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <optional>

#include "shell/dataaccess/odbc/odbc_connect_watchdog.h"
#include "shell/dataaccess/odbc/odbc_result_set.h"
#include "shell/dataaccess/odbc/odbc_statement_deadline.h"
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

// One sentence naming the deadline and its key; the driver's own words stay in the details.
DatabaseError deadlinePassed(const DatabaseError& driverError, std::string_view what, int seconds,
                             std::string_view key) {
    const std::string text = std::string(what) + " dentro do prazo de " + std::to_string(seconds) +
                             " s (" + std::string(key) + " em [Talvers]).";
    return DatabaseError(driverError.number() != 0 ? driverError.number() : kDeadlineError, text,
                         driverError.details());
}

// A statement and the deadline that cancels it, disarmed before the statement is freed.
struct RunningStatement {
    RunningStatement(SQLHDBC connection, int seconds)
        : handle(SQL_HANDLE_STMT, connection), deadline(handle.get(), seconds) {}
    OdbcHandle handle;
    StatementDeadline deadline;
};

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
            const std::string dbms = result->dbmsName();
            result->dbmsIsSqlite_ = dbms.find("SQLite") != std::string::npos;
            if (dbms.find("SQL Server") != std::string::npos)
                result->runExecute("SET TEXTSIZE 2147483647");
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

std::string OdbcConnection::dbmsName() const {
    std::u16string name(128, u'\0');
    SQLSMALLINT bytes = 0;
    connection_.check(SQLGetInfoW(connection_.get(), SQL_DBMS_NAME, sqlWide(name),
                                  static_cast<SQLSMALLINT>(name.size() * sizeof(char16_t)), &bytes),
                      "SQLGetInfo");
    name.resize(std::min(name.size() - 1, static_cast<size_t>(bytes) / sizeof(char16_t)));
    return utf16ToUtf8(name);
}

template <typename Work>
auto OdbcConnection::withDeadline(const std::string& sql, Work work) {
    RunningStatement statement(connection_.get(), querySeconds_);
    if (querySeconds_ > 0) {
        statement.handle.check(SQLSetStmtAttrW(statement.handle.get(), SQL_ATTR_QUERY_TIMEOUT,
                                               integerAttribute(querySeconds_), 0),
                               "SQLSetStmtAttr");
    }
    try {
        std::u16string text = utf8ToUtf16(sql);
        const SQLRETURN rc = SQLExecDirectW(statement.handle.get(), sqlWide(text),
                                            static_cast<SQLINTEGER>(text.size()));
        // No data: a searched UPDATE or DELETE that matched no row, which is no failure.
        if (rc != SQL_NO_DATA) statement.handle.check(rc, "SQLExecDirect");
        return work(statement.handle);
    } catch (const DatabaseError& e) {
        // The driver's own timer (a stall longer than the deadline) or ours (rows trickling
        // in, or too many to fetch in time) ended it.
        if (statement.deadline.passed() || (querySeconds_ > 0 && timedOut(statement.handle))) {
            throw deadlinePassed(e, "A consulta não terminou", querySeconds_, "PrazoConsulta");
        }
        throw;
    }
}

namespace {

// Steps through the results a statement has left: a failure the server reports after the
// rows (an error raised as the statement ends, or by a later statement of the batch) would
// otherwise be dropped with them, and a report would take a short result for a whole one.
void finishResults(const OdbcHandle& statement) {
    for (;;) {
        const SQLRETURN rc = SQLMoreResults(statement.get());
        if (rc == SQL_NO_DATA) return;
        statement.check(rc, "SQLMoreResults");
    }
}

}  // namespace

Table OdbcConnection::runQuery(const std::string& sql) {
    return withDeadline(sql, [](const OdbcHandle& statement) {
        // A batch may begin with statements that return no rows (SET, row counts): the rows
        // are in the first result that has columns.
        Table rows;
        for (;;) {
            SQLSMALLINT columnCount = 0;
            statement.check(SQLNumResultCols(statement.get(), &columnCount), "SQLNumResultCols");
            if (columnCount > 0) {
                rows = fetchResultSet(statement, columnCount);
                break;
            }
            const SQLRETURN rc = SQLMoreResults(statement.get());
            if (rc == SQL_NO_DATA) return rows;
            statement.check(rc, "SQLMoreResults");
        }
        finishResults(statement);
        return rows;
    });
}

void OdbcConnection::runExecute(const std::string& sql) {
    // SQL Server reports a failure of a later statement in a batch only when its result is
    // reached, so every result is stepped through.
    withDeadline(sql, [](const OdbcHandle& statement) {
        finishResults(statement);
        return 0;
    });
}

}  // namespace talvers
