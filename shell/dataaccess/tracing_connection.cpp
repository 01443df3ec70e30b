#include "shell/dataaccess/tracing_connection.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "shell/dataaccess/database_error.h"
#include "shell/dataaccess/date_time.h"

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

SqlTrace::SqlTrace(const std::string& file) : file_(std::fopen(file.c_str(), "a")) {
    if (file_ == nullptr) {
        throw DatabaseError(kSqlTraceError,
                            "Não foi possível abrir o ficheiro de registo das "
                            "instruções SQL (TALVERS_SQL_TRACE) \"" +
                                file + "\": " + std::strerror(errno) + ".");
    }
}

SqlTrace::~SqlTrace() {
    std::fclose(file_);
}

void SqlTrace::write(const std::string& connection, const std::string& outcome, double milliseconds,
                     const std::string& sql) {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::fprintf(file_, "%s\t%s\t%s\t%.1f ms\t%s\n", DateTime::now().isoDateTime().c_str(),
                 connection.c_str(), outcome.c_str(), milliseconds, oneLine(sql).c_str());
    std::fflush(file_);
}

std::shared_ptr<SqlTrace> sqlTraceFromEnvironment() {
    const char* file = std::getenv("TALVERS_SQL_TRACE");
    if (file == nullptr || *file == '\0') return nullptr;
    return std::make_shared<SqlTrace>(file);
}

TracingConnection::TracingConnection(std::unique_ptr<Connection> inner, std::string name,
                                     std::shared_ptr<SqlTrace> trace)
    : inner_(std::move(inner)), name_(std::move(name)), trace_(std::move(trace)) {}

template <class Run>
auto TracingConnection::traced(const std::string& sql, Run run) {
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    try {
        auto result = run();
        trace_->write(name_, result, elapsed(), sql);
        return result;
    } catch (const DatabaseError& error) {
        trace_->write(name_, "erro " + std::to_string(error.number()), elapsed(), sql);
        throw;
    }
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
