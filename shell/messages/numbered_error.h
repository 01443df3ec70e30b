#pragma once
// NumberedError: a failure the user is told about with a description in Portuguese and a
// number (a driver's native error, a system error number, a library's error code or one of the
// program's own). Database, settings, file and workbook failures are all of this kind, so a
// program reports every one of them through one catch.
//
// The description is one sentence in Portuguese. What a database engine or driver said in its
// own words goes into the details, never into the description: the desktop shows them in the
// message box's "Detalhes" part, the command line on a line of their own.
#include <stdexcept>
#include <string>

namespace talvers {

class NumberedError : public std::runtime_error {
  public:
    NumberedError(long number, std::string description, std::string details = {})
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          details_(std::move(details)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }
    // The engine's own text; "" when there is none.
    const std::string& details() const { return details_; }

  private:
    long number_;
    std::string description_;
    std::string details_;
};

}  // namespace talvers
