#pragma once
// Text as XML 1.0 character data. Texts reach the program from databases that do not check
// them (SQLite keeps any bytes in a TEXT column), and a workbook's sheet is XML: one stray byte
// or control character makes the whole file unreadable. So every text from a database, and
// again every text written into a workbook, passes through validXmlText.
#include <string>
#include <string_view>

namespace talvers {

// `bytes` as valid UTF-8 holding only characters XML 1.0 allows: each maximal invalid
// subpart of a UTF-8 sequence (a stray byte, a truncated sequence, an overlong form, an
// encoded surrogate, a value past U+10FFFF) becomes one U+FFFD, as Unicode recommends, and
// the characters XML forbids (the C0 controls but tab, line feed and carriage return; U+FFFE
// and U+FFFF) are dropped. Valid text without those comes back unchanged.
std::string validXmlText(std::string_view bytes);
// Whether validXmlText(bytes) would give `bytes` back unchanged, without making the copy.
bool isValidXmlText(std::string_view bytes);

// Decodes the code point at `pos` and moves `pos` past it; a maximal invalid subpart yields
// U+FFFD and is consumed whole, so the text after it still decodes. `pos` < text.size().
char32_t decodeUtf8(std::string_view text, size_t& pos);

// True when `cp` may appear in XML 1.0 character data.
bool isXmlChar(char32_t cp);

}  // namespace talvers
