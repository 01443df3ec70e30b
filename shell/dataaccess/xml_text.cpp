#include "shell/dataaccess/xml_text.h"

#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The range the second byte of a well-formed sequence may take after `lead`; the third and
// fourth bytes are always 80..BF. This is what excludes overlong forms (E0, F0), encoded
// surrogates (ED) and values past U+10FFFF (F4).
struct Lead {
    size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

Lead leadOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};  // 80..C1 and F5..FF never start a character
}

}  // namespace

char32_t decodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    ++pos;
    if (lead < 0x80) return lead;
    const Lead form = leadOf(lead);
    if (form.length == 0) return kReplacement;
    char32_t cp = lead & (0xFF >> (form.length + 1));
    for (size_t k = 1; k < form.length; ++k) {
        if (pos == text.size()) return kReplacement;
        const auto byte = static_cast<unsigned char>(text[pos]);
        const unsigned char low = k == 1 ? form.secondLow : 0x80;
        const unsigned char high = k == 1 ? form.secondHigh : 0xBF;
        // The byte that breaks the sequence is not part of it: it is read again as a lead.
        if (byte < low || byte > high) return kReplacement;
        cp = (cp << 6) | (byte & 0x3F);
        ++pos;
    }
    return cp;
}

bool isXmlChar(char32_t cp) {
    if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
    return cp != 0xFFFE && cp != 0xFFFF;
}

std::string validXmlText(std::string_view bytes) {
    // Most texts are printable ASCII, which stays as it is: only from the first other byte on
    // is the text decoded.
    size_t plain = 0;
    while (plain < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[plain]);
        if (byte >= 0x80 || (byte < 0x20 && byte != 0x09 && byte != 0x0A && byte != 0x0D)) break;
        ++plain;
    }
    // A text with other characters is usually valid too (names with accents): it is checked
    // once and copied whole, and rebuilt character by character only when it needs repair.
    if (plain == bytes.size() || isValidXmlText(bytes.substr(plain))) return std::string(bytes);
    std::string out(bytes.substr(0, plain));
    out.reserve(bytes.size());
    for (size_t pos = plain; pos < bytes.size();) {
        const char32_t cp = decodeUtf8(bytes, pos);
        if (isXmlChar(cp)) appendUtf8(out, cp);
    }
    return out;
}

}  // namespace talvers

namespace talvers {

bool isValidXmlText(std::string_view bytes) {
    constexpr std::string_view kEncodedReplacement = "\xEF\xBF\xBD";
    for (size_t pos = 0; pos < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte >= 0x20 && byte < 0x80) {
            ++pos;
            continue;
        }
        const size_t start = pos;
        const char32_t cp = decodeUtf8(bytes, pos);
        // A replacement character is fine when the text holds it, not when decoding made it.
        if (!isXmlChar(cp) ||
            (cp == kReplacement && bytes.substr(start, pos - start) != kEncodedReplacement)) {
            return false;
        }
    }
    return true;
}

}  // namespace talvers
