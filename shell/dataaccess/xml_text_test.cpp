#include "shell/dataaccess/xml_text.h"

#include <gtest/gtest.h>

#include <random>

#include "shell/dataaccess/text_utils.h"

namespace talvers {
namespace {

constexpr std::string_view kFffd = "\xEF\xBF\xBD";

std::string replaced(int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += kFffd;
    return out;
}

TEST(XmlText, InvalidSequencesBecomeOneReplacementPerMaximalSubpart) {
    const struct {
        std::string_view input;
        std::string expected;
    } cases[] = {
        {"Ligação € \xF0\x9D\x84\x9E", "Ligação € \xF0\x9D\x84\x9E"},
        {"\xC3", replaced(1)},  // truncated at the end
        {"\x41\xC3\x28\xFF",
         "A" + replaced(1) + "(" + replaced(1)},  // broken by '(' ; FF never valid
        {"\xED\xA0\x80", replaced(3)},            // encoded surrogate: ED then 2 strays
        {"\xC0\xAF", replaced(2)},                // overlong '/'
        {"\xE0\x80\xAF", replaced(3)},            // overlong three-byte form
        {"\xF4\x90\x80\x80", replaced(4)},        // past U+10FFFF
        {"\xF5\x80", replaced(2)},
        {"\xE2\x82", replaced(1)},                // cut three-byte '€'
        {"\xF0\x9D\x84x", replaced(1) + "x"},     // cut four-byte, next byte kept
        {"\xE2\x82\xAC\x80", "€" + replaced(1)},  // stray continuation byte
        // Controls XML forbids are dropped; tab, line feed and carriage return stay.
        {std::string_view("a\0b\x01\x1F\x7F\t\n\r", 10), "ab\x7F\t\n\r"},
        {"x\xEF\xBF\xBEy\xEF\xBF\xBFz", "xyz"},  // U+FFFE and U+FFFF
        {kFffd, std::string(kFffd)},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(validXmlText(c.input), c.expected) << testing::PrintToString(c.input);
    }
}

bool onlyXmlChars(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        if (!isXmlChar(decodeUtf8(text, pos))) return false;
    }
    return true;
}

TEST(XmlText, AnyBytesGiveCleanTextAndCleanTextIsKept) {
    std::mt19937 random(20240611);
    // Bytes weighted towards the interesting ones: leads, continuations, controls.
    const unsigned char pool[] = {0x00, 0x01, 0x09, 0x0A, 0x1F, 'a',  0x7F, 0x80,
                                  0x8F, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0,
                                  0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xBE, 0xBD};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(random() % 12, '\0');
        for (char& b : bytes) b = static_cast<char>(pool[random() % std::size(pool)]);
        const std::string clean = validXmlText(bytes);
        ASSERT_EQ(isValidXmlText(bytes), clean == bytes) << testing::PrintToString(bytes);
        ASSERT_TRUE(isValidUtf8(clean) && onlyXmlChars(clean)) << testing::PrintToString(bytes);
        ASSERT_EQ(validXmlText(clean), clean) << testing::PrintToString(bytes);

        std::string valid;  // random allowed code points across all planes
        for (int k = 0; k < 6; ++k) {
            char32_t cp = random() % 0x110000;
            if ((cp >= 0xD800 && cp <= 0xDFFF) || !isXmlChar(cp)) cp = 'x';
            appendUtf8(valid, cp);
        }
        ASSERT_EQ(validXmlText(valid), valid);
        ASSERT_TRUE(isValidXmlText(valid));
    }
}

}  // namespace
}  // namespace talvers
