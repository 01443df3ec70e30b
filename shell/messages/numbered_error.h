#pragma once
// NumberedError: a failure the user is told about with a description in Portuguese and a
// number (a driver's native error, a system error number, a library's error code or one of the
// program's own). Database, settings, file and workbook failures are all of this kind, so a
// program reports every one of them through one catch.
#include <stdexcept>
#include <string>

namespace talvers {

class NumberedError : public std::runtime_error {
  public:
    NumberedError(long number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    long number_;
    std::string description_;
};

}  // namespace talvers
