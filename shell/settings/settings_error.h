#pragma once
// SettingsError: the settings file cannot be used — it cannot be read, a value is not one the
// program knows, or a key the engine needs is empty.
#include "shell/messages/numbered_error.h"

namespace talvers {

enum class SettingsErrorNumber : long { Unreadable = 1, InvalidValue = 2, Incomplete = 3 };

class SettingsError : public NumberedError {
  public:
    SettingsError(SettingsErrorNumber number, std::string description)
        : NumberedError(static_cast<long>(number), std::move(description)) {}
};

}  // namespace talvers
