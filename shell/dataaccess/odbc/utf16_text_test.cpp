#include "shell/dataaccess/odbc/utf16_text.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

// The test program never sets a locale, so these run in the C locale: the conversion must
// not depend on it.
TEST(Utf16Text, ConvertsAccentsEuroAndCharactersBeyondTheBasicPlane) {
    const std::string text = "Ligação Açores € \xF0\x9D\x84\x9E";  // last: musical G clef
    const std::u16string wide = utf8ToUtf16(text);
    EXPECT_EQ(wide, u"Ligação Açores € \U0001D11E");
    EXPECT_EQ(wide.size(), 19u);  // the G clef takes a surrogate pair
    EXPECT_EQ(wide[17], 0xD834);
    EXPECT_EQ(wide[18], 0xDD1E);
    EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Utf16Text, MalformedInputBecomesReplacementCharacters) {
    // A lone Windows-1252 'é', a cut three-byte sequence (one replacement for the whole cut
    // sequence) and an overlong '/' (two bytes that never start or continue a character).
    EXPECT_EQ(utf8ToUtf16("caf\xE9!"), u"caf\uFFFD!");
    EXPECT_EQ(utf8ToUtf16("\xE2\x82"), u"\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    // Unpaired surrogates, high at the end and low on its own.
    EXPECT_EQ(utf16ToUtf8(std::u16string(u"a") + char16_t(0xD834)), "a\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDD1E)) + u"b"),
              "\xEF\xBF\xBD"
              "b");
}

TEST(Utf16Text, EmptyStaysEmpty) {
    EXPECT_EQ(utf8ToUtf16(""), u"");
    EXPECT_EQ(utf16ToUtf8(u""), "");
}

}  // namespace
}  // namespace talvers
