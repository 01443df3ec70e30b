#pragma once
// UTF-8 <-> UTF-16 conversion for the wide-character ODBC calls. Done here rather than through
// the C library so that the result does not depend on the process locale. Malformed input
// (invalid UTF-8 bytes, unpaired surrogates) becomes U+FFFD, one per bad unit, never an error.
#include <string>
#include <string_view>

namespace talvers {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace talvers
