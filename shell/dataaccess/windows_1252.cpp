#include "shell/dataaccess/windows_1252.h"

#include <array>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/xml_text.h"

namespace talvers {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; 0 marks the five undefined bytes.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of `cp`, or 0 when the code page lacks it (U+0000 itself is byte 0 too).
unsigned char byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return 0;
}

}  // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F) {
            const char32_t mapped = kHigh[b - 0x80];
            cp = mapped != 0 ? mapped : kReplacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const char32_t cp = decodeUtf8(text, pos);
        const unsigned char b = byteOf(cp);
        out += (b != 0 || cp == 0) ? static_cast<char>(b) : '?';
    }
    return out;
}

bool fitsWindows1252(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const char32_t cp = decodeUtf8(text, pos);
        if (byteOf(cp) == 0 && cp != 0) return false;
    }
    return true;
}

}  // namespace talvers
