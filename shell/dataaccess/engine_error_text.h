#pragma once
// What the backends share to describe an engine's failure in Portuguese. The engine's own text
// follows in parentheses, so the administrator still sees exactly what the engine said:
//   "A base de dados não tem a tabela AJUDACMP (no such table: AJUDACMP)".
// A failure without a Portuguese description of its own gets a general one, so no engine
// text reaches the user alone. Error numbers are not touched: they stay the engine's.
#include <string>
#include <string_view>

namespace talvers {

// `description` followed by " (engine text)", or alone when the engine said nothing.
std::string withEngineText(std::string_view description, std::string_view engineText);

// "A base de dados não tem <kind> <name>", or "... <kind> pedida" without a name.
std::string missingObject(const char* kind, const std::string& name);

}  // namespace talvers
