// The folded form decides which view rows an argument may match without asking SQLite: it must
// join exactly what a built-in collation can take as equal (NOCASE folds ASCII letters only,
// RTRIM drops trailing spaces only), or an answer would miss rows or take foreign ones.
#include "shell/dataaccess/sqlite/sqlite_view_keys.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

TEST(ViewKeysFolded, FoldsAsciiCaseAndTrailingSpacesOnly) {
    const struct {
        const char* text;
        const char* folded;
    } cases[] = {
        {"", ""},       {" ", ""},        {"A1", "a1"},     {"a1  ", "a1"},
        {" A1", " a1"}, {"A1\t", "a1\t"}, {"A 1 ", "a 1"},  {"Ção", "Ção"},
        {"ÇÃO", "ÇÃo"}, {"@[`{", "@[`{"}, {"AZaz", "azaz"}, {"A1\n ", "a1\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqliteViewKeys::folded(c.text), c.folded) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace talvers
