#pragma once
// OdbcConnection: a connection through ODBC — SQL Server through FreeTDS or Microsoft's
// driver, or any driver a connection string names. SQL texts are sent as they are. Text goes
// through the wide-character calls and is converted between UTF-8 and UTF-16 here, whatever
// the process locale. Each statement gets its own statement handle, which is closed before
// the next one runs (SQL Server refuses a second statement while rows are pending).
// Every failure throws DatabaseError carrying the driver's diagnostics.
#include <memory>
#include <string>

#include "shell/dataaccess/connection.h"
#include "shell/dataaccess/odbc/odbc_handle.h"

namespace talvers {

class OdbcConnection : public Connection {
  public:
    // Connects with `connectionString` (see buildOdbcConnectionString). A server that does
    // not answer fails after about `loginTimeoutSeconds`. On SQL Server the text size limit is
    // lifted, so that long texts are never cut at the driver's default of a few kilobytes.
    static std::unique_ptr<OdbcConnection> open(const std::string& connectionString,
                                                int loginTimeoutSeconds = 10);

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override;

  private:
    OdbcConnection(OdbcHandle environment, OdbcHandle connection)
        : environment_(std::move(environment)), connection_(std::move(connection)) {}
    OdbcHandle executeDirect(const std::string& sql);
    bool isSqlServer() const;

    // Declared first so that it is freed last, after the connection that lives in it.
    OdbcHandle environment_;
    OdbcHandle connection_;
};

}  // namespace talvers
