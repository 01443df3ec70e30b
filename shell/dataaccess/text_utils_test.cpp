#include "shell/dataaccess/text_utils.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/sql_literal.h"

namespace talvers {
namespace {

TEST(TextUtils, CutsByCharactersNeverSplittingOne) {
    EXPECT_EQ(leftChars("Fornecedor Açores", 13), "Fornecedor Aç");
    EXPECT_EQ(leftChars("ção", 1), "ç");
    EXPECT_EQ(leftChars("ab", 5), "ab");
    EXPECT_EQ(leftChars("€uro", 1), "€");
    EXPECT_EQ(charCount("São João"), 8u);
    // An invalid byte counts as one character and is kept as it is.
    EXPECT_EQ(leftChars("a\xff"
                        "b",
                        2),
              "a\xff");
}

TEST(TextUtils, SplitTrimAndFlatten) {
    EXPECT_EQ(splitText("ECL/2024/A/153/2", '/'),
              (std::vector<std::string>{"ECL", "2024", "A", "153", "2"}));
    EXPECT_EQ(splitText("", '/'), (std::vector<std::string>{""}));
    EXPECT_EQ(splitText("a/", '/'), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(trimBlanks("  EFO  "), "EFO");
    EXPECT_EQ(trimBlanks("   "), "");
    std::string text = "linha 1\r\nlinha 2\n";
    flattenLineFeeds(text);
    EXPECT_EQ(text, "linha 1\r linha 2 ");
}

TEST(TextUtils, RecognisesUtf8) {
    EXPECT_TRUE(isValidUtf8("Ligação"));
    EXPECT_FALSE(isValidUtf8("Liga\xe7\xe3o"));  // Windows-1252
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));       // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));   // surrogate
}

TEST(SqlLiteral, DoublesQuotesAndChecksNumbers) {
    EXPECT_EQ(sqlQuoted("D'OR"), "D''OR");
    EXPECT_EQ(sqlQuoted("''"), "''''");
    EXPECT_EQ(sqlWholeNumber(" 2024 "), "2024");
    EXPECT_EQ(sqlWholeNumber("-1"), "-1");
    for (const char* bad : {"", "-", "1.5", "1 or 1=1", "12a", "1e3"}) {
        EXPECT_FALSE(sqlWholeNumber(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace talvers
