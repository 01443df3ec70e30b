#include "shell/dataaccess/tracing_connection.h"

#include <cstdio>
#include <cstdlib>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/date_time.h"
#include "shell/files/file_error.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

std::string oneLine(const std::string& sql) {
    std::string out;
    out.reserve(sql.size());
    for (char c : sql) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

SqlTrace::SqlTrace(const std::string& file,
                   const std::vector<std::filesystem::path>& protectedFiles)
    : name_(file) {
    try {
        file_ = std::make_unique<AppendFile>(path(), protectedFiles);
    } catch (const FileError& failure) {
        fail("abrir", failure);
    }
}

std::filesystem::path SqlTrace::path() const {
    return pathFromUtf8(name_);
}

void SqlTrace::fail(const std::string& what, const NumberedError& failure) const {
    throw DatabaseError(kSqlTraceError, "Não foi possível " + what +
                                            " o ficheiro de registo das instruções SQL "
                                            "(TALVERS_SQL_TRACE) \"" +
                                            name_ + "\": " + failure.description() + ".");
}

void SqlTrace::write(const std::string& connection, const std::string& outcome, double milliseconds,
                     const std::string& sql) {
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f ms", milliseconds);
    const std::string line = DateTime::now().isoDateTime() + "\t" + connection + "\t" + outcome +
                             "\t" + elapsed + "\t" + oneLine(sql) + "\n";
    const std::lock_guard<std::mutex> lock(mutex_);
    try {
        // One write per line, so that lines of two programs appending to one file never mix.
        file_->append(line);
    } catch (const FileError& failure) {
        fail("escrever", failure);
    }
}

std::shared_ptr<SqlTrace> sqlTraceFromEnvironment(
    const std::vector<std::filesystem::path>& protectedFiles) {
    const char* file = std::getenv("TALVERS_SQL_TRACE");
    if (file == nullptr || *file == '\0') return nullptr;
    return std::make_shared<SqlTrace>(file, protectedFiles);
}

TracingConnection::TracingConnection(std::unique_ptr<Connection> inner, std::string name,
                                     std::shared_ptr<SqlTrace> trace)
    : inner_(std::move(inner)), name_(std::move(name)), trace_(std::move(trace)) {}

template <class Run>
void TracingConnection::traced(const std::string& sql, Run run) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    std::string outcome;
    try {
        outcome = run();
    } catch (const DatabaseError& error) {
        try {
            trace_->write(name_, "erro " + std::to_string(error.number()), elapsed(), sql);
        } catch (const DatabaseError&) {
            // The statement's own failure is the one to tell; the trace's shows at the next.
        }
        throw;
    }
    // A statement that ran but could not be traced stops the run: the trace was asked for.
    trace_->write(name_, outcome, elapsed(), sql);
}

Table TracingConnection::runQuery(const std::string& sql) {
    Table table;
    traced(sql, [&] {
        table = inner_->query(sql);
        return std::to_string(table.rowCount()) + " linhas";
    });
    return table;
}

void TracingConnection::runExecute(const std::string& sql) {
    traced(sql, [&] {
        inner_->execute(sql);
        return std::string("executada");
    });
}

std::unique_ptr<Connection> withTrace(std::unique_ptr<Connection> connection, std::string name,
                                      const std::shared_ptr<SqlTrace>& trace) {
    if (!trace) return connection;
    return std::make_unique<TracingConnection>(std::move(connection), std::move(name), trace);
}

}  // namespace talvers
