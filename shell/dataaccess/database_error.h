#pragma once
// DatabaseError: every failure of the data-access layer — a driver diagnostic, an SQL text the
// SQLite rewrite does not know, a file that cannot be opened. Carries the native error number
// and the driver's description, which the user sees in the failure message.
#include <stdexcept>
#include <string>

namespace talvers {

class DatabaseError : public std::runtime_error {
  public:
    DatabaseError(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    long number_;
    std::string description_;
};

}  // namespace talvers
