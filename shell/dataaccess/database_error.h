#pragma once
// DatabaseError: every failure of the data-access layer — a driver diagnostic, an SQL text the
// SQLite rewrite does not know, a file that cannot be opened. Carries the native error number,
// a Portuguese description the user sees in the failure message and, as details, the driver's
// or engine's own text.
#include "shell/messages/numbered_error.h"

namespace talvers {

class DatabaseError : public NumberedError {
  public:
    using NumberedError::NumberedError;
};

}  // namespace talvers
