#pragma once
// StatementDeadline: ends a statement that passes the query deadline (PrazoConsulta), however
// the server sends its rows. The driver's own timeout restarts with every packet, so a server
// that trickles rows — or a result too large to fetch in time — would never be cut off by it.
// Armed before the statement is executed, it cancels the statement (SQLCancel, which the
// driver turns into an attention to the server) when the deadline passes, and the call that
// was waiting returns with an error. It must be disarmed (destroyed) before the statement's
// handle is freed.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "shell/dataaccess/odbc/odbc_handle.h"

namespace talvers {

class StatementDeadline {
  public:
    // `seconds` <= 0: no deadline, and nothing is started.
    StatementDeadline(SQLHSTMT statement, int seconds);
    ~StatementDeadline();
    StatementDeadline(const StatementDeadline&) = delete;
    StatementDeadline& operator=(const StatementDeadline&) = delete;

    // Whether the deadline has passed (and the statement was cancelled).
    bool passed();

  private:
    void watch(std::chrono::steady_clock::time_point until);

    SQLHSTMT statement_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool disarmed_ = false;
    bool passed_ = false;
    std::thread thread_;
};

}  // namespace talvers
