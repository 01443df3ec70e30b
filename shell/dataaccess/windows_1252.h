#pragma once
// Windows-1252, the code page of SQL Server's usual Latin collations and of older settings
// files. Bytes 0x80..0x9F hold the typographic characters (€, –, “ ...); five of them are
// undefined. The rest is Latin-1.
#include <string>
#include <string_view>

namespace talvers {

// The UTF-8 text of Windows-1252 bytes; an undefined byte becomes U+FFFD.
std::string windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. A character the code page lacks becomes '?', as
// SQL Server stores it in a column of such a collation.
std::string utf8ToWindows1252(std::string_view text);

// Whether every character of the UTF-8 text exists in Windows-1252.
bool fitsWindows1252(std::string_view text);

}  // namespace talvers
