#pragma once
// OdbcConnection: a connection through ODBC — SQL Server through FreeTDS or Microsoft's
// driver, or any driver a connection string names. SQL texts are sent as they are. Text goes
// through the wide-character calls and is converted between UTF-8 and UTF-16 here, whatever
// the process locale. Each statement gets its own statement handle, which is closed before
// the next one runs (SQL Server refuses a second statement while rows are pending), after
// every result of the statement has been stepped through, so that an error the server sends
// after the rows is reported. Every failure throws DatabaseError carrying the driver's
// diagnostics.
#include <memory>
#include <string>

#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/connection_settings.h"
#include "shell/dataaccess/odbc/odbc_handle.h"

namespace talvers {

class OdbcConnection : public Connection {
  public:
    // Connects with `connectionString` (see buildOdbcConnectionString). The driver is given
    // the login deadline; the whole attempt is cut off at the connection deadline however the
    // server behaves (ConnectWatchdog), and each statement is given the query deadline (0:
    // none; it bounds the whole statement, rows included, however the server sends them). A
    // deadline passed is a DatabaseError naming it and its setting. On SQL Server the
    // text size limit is lifted, so that long texts are never cut at the driver's default of
    // a few kilobytes.
    static std::unique_ptr<OdbcConnection> open(const std::string& connectionString,
                                                const ConnectionDeadlines& deadlines = {});

    // False for the SQLite ODBC driver (its columns keep any value), true otherwise.
    bool holdsOnlyDeclaredTypes() const override { return !dbmsIsSqlite_; }

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override;

  private:
    OdbcConnection(OdbcHandle environment, OdbcHandle connection, int querySeconds)
        : environment_(std::move(environment)),
          connection_(std::move(connection)),
          querySeconds_(querySeconds) {}
    // Executes `sql` on a new statement under the query deadline and returns what `work` makes
    // of the statement; a failure once the deadline has passed is reported as that.
    template <typename Work>
    auto withDeadline(const std::string& sql, Work work);
    // The database product's name, as the driver gives it.
    std::string dbmsName() const;

    // Declared first so that it is freed last, after the connection that lives in it.
    OdbcHandle environment_;
    OdbcHandle connection_;
    int querySeconds_;
    bool dbmsIsSqlite_ = false;
};

}  // namespace talvers
