#pragma once
// What the backends share to describe an engine's failure in Portuguese. The description is
// one sentence of its own; the engine's text travels beside it as the error's details (see
// numbered_error.h), so the administrator still sees exactly what the engine said. Error
// numbers are not touched: they stay the engine's.
#include <string>

namespace talvers {

// "A base de dados não tem <kind> <name>.", or "... <kind> pedida." without a name.
std::string missingObject(const char* kind, const std::string& name);

}  // namespace talvers
