#pragma once
// TdsDoubleServer: tds-double's listener on 127.0.0.1, one thread per connection. run() serves
// until `stopFd` (a signal's self-pipe) or standard input becomes readable at its end, then
// shuts every connection down and waits for its thread.
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/tds_double/batch_trace.h"
#include "tests/tds_double/double_catalogs.h"
#include "tests/tds_double/double_options.h"
#include "tests/tds_double/tds_session.h"

namespace talvers {

class TdsDoubleServer {
  public:
    // Binds and listens; throws std::runtime_error when the port cannot be had, a catalog's
    // file is missing or the trace cannot be opened.
    explicit TdsDoubleServer(DoubleOptions options);
    ~TdsDoubleServer();
    TdsDoubleServer(const TdsDoubleServer&) = delete;
    TdsDoubleServer& operator=(const TdsDoubleServer&) = delete;

    int port() const { return port_; }
    void run(int stopFd);

  private:
    struct Connection {
        int socket = -1;
        std::atomic<bool> finished{false};
        std::thread thread;
    };
    // Joins and closes the connections that have ended, so that a double serving for hours
    // keeps only the live ones.
    void reapFinished();

    const DoubleOptions options_;
    DoubleCatalogs catalogs_;
    std::unique_ptr<BatchTrace> trace_;
    std::atomic<bool> stopping_{false};
    // What the connections' threads share: lives as long as the server, which joins them
    // before it goes.
    DoubleShared shared_;
    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace talvers
