#pragma once
// FakeTdsServer: a listener on the loopback that plays a SQL Server stuck mid-answer, on a
// thread of its own, for the connection tests: it accepts its one client, then sends one byte
// a second of an answer that never ends. (Everything a real conversation needs is the TDS
// double's: tests/tds_double.) Every wait is bounded; the destructor stops the thread. POSIX
// only.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace talvers::testing {

class FakeTdsServer {
  public:
    FakeTdsServer();
    ~FakeTdsServer();
    FakeTdsServer(const FakeTdsServer&) = delete;
    FakeTdsServer& operator=(const FakeTdsServer&) = delete;

    int port() const { return port_; }
    // "127.0.0.1,<port>", as a settings file names the server.
    std::string server() const { return "127.0.0.1," + std::to_string(port_); }

  private:
    void serve();
    void trickle(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace talvers::testing
