#pragma once
// Text helpers. Texts are UTF-8; "characters" are code points, so a cut never splits a
// multi-byte character. Invalid bytes count as one character each.
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

// The first `count` characters of `text` (the whole text when it is shorter).
std::string leftChars(std::string_view text, size_t count);
// The same for a text that is not needed afterwards: cut where it is, without a copy.
std::string leftChars(std::string&& text, size_t count);
inline std::string leftChars(const char* text, size_t count) {
    return leftChars(std::string_view(text), count);
}
// Number of characters (code points) in `text`.
size_t charCount(std::string_view text);
// `text` without leading and trailing blanks (code 32 only, as the ERP pads with blanks).
std::string trimBlanks(std::string_view text);
// Splits at every occurrence of `separator`; "" gives one empty part, "a/" gives "a" and "".
std::vector<std::string> splitText(std::string_view text, char separator);
// Replaces each line feed (code 10) by a blank; length and carriage returns are unchanged.
void flattenLineFeeds(std::string& text);
// True when `text` is valid UTF-8.
bool isValidUtf8(std::string_view text);
// Appends the UTF-8 form of the code point `cp` (which must be a valid code point).
void appendUtf8(std::string& out, char32_t cp);
// Equality that ignores the letter case of ASCII letters only (field and sheet names).
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace talvers
