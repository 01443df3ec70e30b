#include "reports/lookup/distinct_keys.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

// Keys are kept once, in order of first appearance, compared byte for byte (letter case and
// blanks count); every row finds its own key again.
TEST(DistinctKeys, EachKeyOnceAndEveryRowItsOwn) {
    const std::vector<LookupKey> rows = {{"A1"}, {"a1"}, {"A1"}, {"A1 "}, {""}, {"a1"}, {"A1", ""}};
    DistinctKeys keys;
    EXPECT_EQ(keys.rowCount(), 0u);
    for (const LookupKey& key : rows) keys.add(key);
    EXPECT_EQ(keys.keys(), (std::vector<LookupKey>{{"A1"}, {"a1"}, {"A1 "}, {""}, {"A1", ""}}));
    ASSERT_EQ(keys.rowCount(), rows.size());
    for (size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(keys.keys()[keys.ofRow(row)], rows[row]) << row;
    }
    EXPECT_THROW(keys.ofRow(rows.size()), std::out_of_range);
}

}  // namespace
}  // namespace talvers
