#include "shell/dataaccess/odbc/odbc_connect_watchdog.h"

#include "shell/dataaccess/odbc/process_sockets.h"

namespace talvers {

ConnectWatchdog::ConnectWatchdog(std::chrono::seconds deadline) {
    for (const ProcessSocket& socket : processSockets()) socketsBefore_.insert(socket.identity);
    thread_ =
        std::thread(&ConnectWatchdog::watch, this, std::chrono::steady_clock::now() + deadline);
}

ConnectWatchdog::~ConnectWatchdog() {
    disarm();
}

bool ConnectWatchdog::disarm() {
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    return fired_;
}

void ConnectWatchdog::watch(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, until, [this] { return disarmed_; })) return;
    fired_ = true;
    for (const ProcessSocket& socket : processSockets()) {
        if (socket.network && socketsBefore_.count(socket.identity) == 0) {
            shutDownSocket(socket.descriptor);
        }
    }
}

}  // namespace talvers
