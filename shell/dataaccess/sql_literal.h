#pragma once
// Splicing values into the program's SQL texts. The statements are built from fixed
// fragments; a value goes between the fragment's own quotes (texts) or bare (numbers).
#include <optional>
#include <string>
#include <string_view>

namespace talvers {

// The text to put between single quotes: every quote doubled, nothing else changed.
std::string sqlQuoted(std::string_view text);
// The text when it is a whole number (optional '-', digits only, after trimming blanks),
// ready to splice bare; nullopt otherwise, so the caller never sends a broken statement.
std::optional<std::string> sqlWholeNumber(std::string_view text);

}  // namespace talvers
