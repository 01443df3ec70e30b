#pragma once
// UTF-8 <-> UTF-16 conversion for the wide-character ODBC calls. Done here rather than through
// the C library so that the result does not depend on the process locale. Malformed input
// (invalid UTF-8 sequences, unpaired surrogates) becomes U+FFFD, one per maximal invalid
// subpart or unpaired surrogate, never an error. Texts read from the driver are also made
// valid XML character data (see xml_text.h), as texts from SQLite are.
#include <string>
#include <string_view>

namespace talvers {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace talvers
