#include "shell/dataaccess/windows_1252.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

TEST(Windows1252, EveryDefinedByteGoesBothWaysAndTheUndefinedOnesDoNot) {
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string text = windows1252ToUtf8(byte);
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        EXPECT_EQ(text == "\xEF\xBF\xBD", undefined) << b;
        EXPECT_EQ(fitsWindows1252(text), !undefined) << b;
        EXPECT_EQ(utf8ToWindows1252(text), undefined ? "?" : byte) << b;
    }
}

TEST(Windows1252, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToWindows1252("€ – Conceição"), "\x80 \x96 Concei\xE7\xE3o");
    EXPECT_EQ(utf8ToWindows1252("Łódź 𝄞"),
              "?\xF3"
              "d? ?");
    EXPECT_FALSE(fitsWindows1252("Łódź"));
    EXPECT_TRUE(fitsWindows1252(""));
}

}  // namespace
}  // namespace talvers
