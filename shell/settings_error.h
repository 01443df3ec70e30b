#pragma once
// SettingsError: the settings file cannot be used — it cannot be read, a value is not one the
// program knows, or a key the engine needs is empty. Like DatabaseError it carries a number
// and a description, so the command line and the desktop report it in the same form.
#include <stdexcept>
#include <string>

namespace talvers {

enum class SettingsErrorNumber : long { Unreadable = 1, InvalidValue = 2, Incomplete = 3 };

class SettingsError : public std::runtime_error {
  public:
    SettingsError(SettingsErrorNumber number, std::string description)
        : std::runtime_error(description),
          number_(static_cast<long>(number)),
          description_(std::move(description)) {}
    long number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    long number_;
    std::string description_;
};

}  // namespace talvers
