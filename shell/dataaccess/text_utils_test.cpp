#include "shell/dataaccess/text_utils.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/sql_literal.h"

namespace talvers {
namespace {

TEST(TextUtils, CutsByCharactersNeverSplittingOne) {
    struct Cut {
        const char* text;
        size_t count;
        const char* expected;
    };
    // An invalid byte counts as one character and is kept as it is.
    for (const Cut& cut : {Cut{"Fornecedor Açores", 13, "Fornecedor Aç"}, Cut{"ção", 1, "ç"},
                           Cut{"ab", 5, "ab"}, Cut{"ab", 2, "ab"}, Cut{"abc", 2, "ab"},
                           Cut{"€uro", 1, "€"}, Cut{"€", 1, "€"}, Cut{"ab", 0, ""},
                           Cut{"a\xff"
                               "b",
                               2, "a\xff"}}) {
        EXPECT_EQ(leftChars(cut.text, cut.count), cut.expected) << cut.text;
        EXPECT_EQ(leftChars(std::string(cut.text), cut.count), cut.expected) << cut.text;
        const std::string kept = cut.text;
        EXPECT_EQ(leftChars(kept, cut.count), cut.expected) << cut.text;
        EXPECT_EQ(kept, cut.text);
    }
    EXPECT_EQ(charCount("São João"), 8u);
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
