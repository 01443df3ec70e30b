#pragma once
// FakeTdsServer: a listener on the loopback that plays the first steps of a SQL Server, on a
// thread of its own, for the connection tests. Its one client is served in one of two ways:
//   Trickle     — accepts, then sends one byte a second of an answer that never ends, as a
//                 server stuck mid-answer (or hostile) does;
//   RecordLogin — answers the pre-login with "no encryption", reads the login packet, keeps
//                 the user name and password it carries (the password decoded), and closes.
// Every wait is bounded; the destructor stops the thread. POSIX only.
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace talvers::testing {

struct RecordedLogin {
    std::u16string userName;
    std::u16string password;
};

class FakeTdsServer {
  public:
    enum class Behaviour { Trickle, RecordLogin };

    explicit FakeTdsServer(Behaviour behaviour);
    ~FakeTdsServer();
    FakeTdsServer(const FakeTdsServer&) = delete;
    FakeTdsServer& operator=(const FakeTdsServer&) = delete;

    int port() const { return port_; }
    // "127.0.0.1,<port>", as a settings file names the server.
    std::string server() const { return "127.0.0.1," + std::to_string(port_); }
    // The login a RecordLogin server received, once it has one.
    std::optional<RecordedLogin> login() const;

  private:
    void serve(Behaviour behaviour);
    void trickle(int client);
    void recordLogin(int client);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::optional<RecordedLogin> login_;
    std::thread thread_;
};

}  // namespace talvers::testing
