#pragma once
// Connection: one open database session. query() returns every row fetched, so record count
// and positions are known; execute() runs a statement without rows. Every failure is thrown
// as DatabaseError. Not thread-safe: one statement at a time, from one thread at a time.
// The counters let tests and benchmarks see how many statements a report sent.
#include <set>
#include <string>

#include "shell/dataaccess/table.h"

namespace talvers {

class Connection {
  public:
    virtual ~Connection() = default;
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Table query(const std::string& sql) {
        ++queriesSent_;
        return runQuery(sql);
    }
    void execute(const std::string& sql) {
        ++statementsExecuted_;
        runExecute(sql);
    }
    long queriesSent() const { return queriesSent_; }
    long statementsExecuted() const { return statementsExecuted_; }

    // Whether every value a column gives has the column's declared type. SQL Server's columns
    // hold nothing else; SQLite keeps any value in any column (a text in a DECIMAL column,
    // which its sum() counts as 0), so a caller that sums such columns checks them first.
    // Only a backend that vouches for its columns says yes.
    virtual bool holdsOnlyDeclaredTypes() const { return false; }

    // Forms of statement this server was found to refuse (a construct its version or
    // compatibility level lacks), noted by a caller that has another form, so that for the
    // rest of the session it sends that one without asking again.
    bool refuses(const std::string& form) const { return refused_.count(form) > 0; }
    void noteRefused(const std::string& form) { refused_.insert(form); }

  protected:
    virtual Table runQuery(const std::string& sql) = 0;
    virtual void runExecute(const std::string& sql) = 0;

  private:
    long queriesSent_ = 0;
    long statementsExecuted_ = 0;
    std::set<std::string> refused_;
};

}  // namespace talvers
