#pragma once
// TracingConnection: a connection that writes a line to a trace file for every statement it
// passes on: the time, the connection's name (main or external), the row count (or "erro" and
// the error number), the milliseconds it took and the text (line breaks written as \n). For
// administrators, switched on with TALVERS_SQL_TRACE=FILE; lines are appended, and two
// connections may share one file.
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "shell/dataaccess/connection.h"

namespace talvers {

// An open trace file, shared by the connections that write to it.
class SqlTrace {
  public:
    // Opens `file` for appending; throws DatabaseError (kSqlTraceError) when it cannot.
    explicit SqlTrace(const std::string& file);
    ~SqlTrace();
    SqlTrace(const SqlTrace&) = delete;
    SqlTrace& operator=(const SqlTrace&) = delete;
    void write(const std::string& connection, const std::string& outcome, double milliseconds,
               const std::string& sql);

  private:
    std::mutex mutex_;
    std::FILE* file_;
};

// The error number of a trace file that cannot be opened.
inline constexpr long kSqlTraceError = 50011;

// The trace TALVERS_SQL_TRACE names, or null when the variable is unset or empty.
std::shared_ptr<SqlTrace> sqlTraceFromEnvironment();

class TracingConnection : public Connection {
  public:
    TracingConnection(std::unique_ptr<Connection> inner, std::string name,
                      std::shared_ptr<SqlTrace> trace);

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override;

  private:
    template <class Run>
    auto traced(const std::string& sql, Run run);

    std::unique_ptr<Connection> inner_;
    std::string name_;
    std::shared_ptr<SqlTrace> trace_;
};

// `connection` wrapped in a TracingConnection when `trace` is not null, else as it is.
std::unique_ptr<Connection> withTrace(std::unique_ptr<Connection> connection, std::string name,
                                      const std::shared_ptr<SqlTrace>& trace);

}  // namespace talvers
