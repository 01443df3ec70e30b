#pragma once
// A connection that waits a fixed time before every statement it passes on, as one network
// round trip to a distant server would. For benchmarks only.
#include <chrono>
#include <thread>

#include "shell/dataaccess/connection.h"

namespace talvers {

class DelayedConnection : public Connection {
  public:
    DelayedConnection(Connection& inner, std::chrono::milliseconds roundTrip)
        : inner_(inner), roundTrip_(roundTrip) {}
    bool holdsOnlyDeclaredTypes() const override { return inner_.holdsOnlyDeclaredTypes(); }

  protected:
    Table runQuery(const std::string& sql) override {
        wait();
        return inner_.query(sql);
    }
    void runExecute(const std::string& sql) override {
        wait();
        inner_.execute(sql);
    }

  private:
    void wait() const {
        if (roundTrip_.count() > 0) std::this_thread::sleep_for(roundTrip_);
    }
    Connection& inner_;
    std::chrono::milliseconds roundTrip_;
};

}  // namespace talvers
