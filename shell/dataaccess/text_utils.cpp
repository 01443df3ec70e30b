#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

// Length of the UTF-8 sequence starting at text[pos], or 1 for an invalid byte.
size_t sequenceLength(std::string_view text, size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t len = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        len = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        len = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        len = 4;
    else
        return 1;
    if (pos + len > text.size()) return 1;
    for (size_t i = 1; i < len; ++i) {
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
    }
    return len;
}

}  // namespace

std::string leftChars(std::string_view text, size_t count) {
    if (text.size() <= count) return std::string(text);  // no character has fewer than one byte
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n) pos += sequenceLength(text, pos);
    return std::string(text.substr(0, pos));
}

std::string leftChars(std::string&& text, size_t count) {
    if (text.size() > count) {
        size_t pos = 0;
        for (size_t n = 0; n < count && pos < text.size(); ++n) pos += sequenceLength(text, pos);
        text.resize(pos);
    }
    return std::move(text);
}

size_t charCount(std::string_view text) {
    size_t n = 0;
    for (size_t pos = 0; pos < text.size(); pos += sequenceLength(text, pos)) ++n;
    return n;
}

std::string trimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> splitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
}

void flattenLineFeeds(std::string& text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
}

bool isValidUtf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        if (lead < 0x80) {
            ++pos;
            continue;
        }
        const size_t len = sequenceLength(text, pos);
        if (len == 1) return false;
        // Reject overlong three- and four-byte forms, surrogates and values above U+10FFFF.
        const auto second = static_cast<unsigned char>(text[pos + 1]);
        if (lead == 0xE0 && second < 0xA0) return false;
        if (lead == 0xED && second > 0x9F) return false;
        if (lead == 0xF0 && second < 0x90) return false;
        if (lead == 0xF4 && second > 0x8F) return false;
        pos += len;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace talvers
