#pragma once
// ConnectWatchdog: ends a connection attempt that passes its deadline while the driver still
// waits. FreeTDS restarts its own timeouts whenever the server sends a byte, so a server that
// accepts the connection and then trickles bytes would hold the attempt (and the program's
// start) for as long as it likes. Armed before the connect call, the watchdog notes the
// sockets the process already has; at the deadline it shuts down every network socket opened
// since, which makes the driver's wait end at once with a read failure. The sockets are shut
// down, never closed: the driver still owns and closes them. Disarmed (destroyed) in time,
// it does nothing. Only Linux can list a process's sockets (process_sockets.h); elsewhere it only
// tells the time.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace talvers {

class ConnectWatchdog {
  public:
    explicit ConnectWatchdog(std::chrono::seconds deadline);
    ~ConnectWatchdog();
    ConnectWatchdog(const ConnectWatchdog&) = delete;
    ConnectWatchdog& operator=(const ConnectWatchdog&) = delete;

    // Stops the watch; true when the deadline had passed first (the attempt was cut off).
    bool disarm();

  private:
    void watch(std::chrono::steady_clock::time_point until);

    std::set<unsigned long> socketsBefore_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool disarmed_ = false;
    bool fired_ = false;
    std::thread thread_;
};

}  // namespace talvers
