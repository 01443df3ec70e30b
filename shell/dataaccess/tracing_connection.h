#pragma once
// TracingConnection: a connection that writes a line to a trace file for every statement it
// passes on: the time, the connection's name (main or external), the row count (or "erro" and
// the error number), the milliseconds it took and the text (line breaks written as \n). For
// administrators, switched on with TALVERS_SQL_TRACE=FILE; lines are appended, and two
// connections may share one file. The file follows the rules of every file the program writes
// (append_file.h): a regular file or a new one, never one the program works on; a trace that
// cannot be opened or written stops the run rather than let it go on untraced.
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shell/dataaccess/connection.h"
#include "shell/files/append_file.h"
#include "shell/messages/numbered_error.h"

namespace talvers {

// An open trace file, shared by the connections that write to it.
class SqlTrace {
  public:
    // Opens `file` for appending; throws DatabaseError (kSqlTraceError, the reason in
    // Portuguese) when it cannot or may not: `protectedFiles` (the database and settings
    // files) are refused by device and inode, and so is anything but a regular file.
    explicit SqlTrace(const std::string& file,
                      const std::vector<std::filesystem::path>& protectedFiles = {});
    SqlTrace(const SqlTrace&) = delete;
    SqlTrace& operator=(const SqlTrace&) = delete;
    // Appends one line; throws DatabaseError (kSqlTraceError) when it is not written whole.
    void write(const std::string& connection, const std::string& outcome, double milliseconds,
               const std::string& sql);
    // The file as it was named.
    std::filesystem::path path() const;

  private:
    [[noreturn]] void fail(const std::string& what, const NumberedError& failure) const;

    std::string name_;
    std::mutex mutex_;
    std::unique_ptr<AppendFile> file_;
};

// The error number of a trace file that cannot be opened or written.
inline constexpr long kSqlTraceError = 50011;

// The trace TALVERS_SQL_TRACE names, or null when the variable is unset or empty; the files
// of `protectedFiles` are refused as its file.
std::shared_ptr<SqlTrace> sqlTraceFromEnvironment(
    const std::vector<std::filesystem::path>& protectedFiles = {});

class TracingConnection : public Connection {
  public:
    TracingConnection(std::unique_ptr<Connection> inner, std::string name,
                      std::shared_ptr<SqlTrace> trace);
    bool holdsOnlyDeclaredTypes() const override { return inner_->holdsOnlyDeclaredTypes(); }

  protected:
    Table runQuery(const std::string& sql) override;
    void runExecute(const std::string& sql) override;

  private:
    template <class Run>
    void traced(const std::string& sql, Run run);

    std::unique_ptr<Connection> inner_;
    std::string name_;
    std::shared_ptr<SqlTrace> trace_;
};

// `connection` wrapped in a TracingConnection when `trace` is not null, else as it is.
std::unique_ptr<Connection> withTrace(std::unique_ptr<Connection> connection, std::string name,
                                      const std::shared_ptr<SqlTrace>& trace);

}  // namespace talvers
