#include "shell/dataaccess/odbc/odbc_statement_deadline.h"

namespace talvers {

StatementDeadline::StatementDeadline(SQLHSTMT statement, int seconds) : statement_(statement) {
    if (seconds <= 0) return;
    thread_ = std::thread(&StatementDeadline::watch, this,
                          std::chrono::steady_clock::now() + std::chrono::seconds(seconds));
}

StatementDeadline::~StatementDeadline() {
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool StatementDeadline::passed() {
    std::lock_guard lock(mutex_);
    return passed_;
}

void StatementDeadline::watch(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, until, [this] { return disarmed_; })) return;
    passed_ = true;
    // Cancelling from another thread is what SQLCancel is for; the statement is still
    // allocated, as the owner disarms this before freeing it.
    SQLCancel(statement_);
}

}  // namespace talvers
