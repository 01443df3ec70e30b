#include "shell/dataaccess/value.h"

#include <gtest/gtest.h>

#include "shell/dataaccess/table.h"

namespace talvers {
namespace {

// takeText gives what toText gives; only a text value gives its text away.
TEST(Value, TakeTextGivesTheTextFormAndEmptiesOnlyTexts) {
    const std::string longText(40, 'x');  // beyond any short-string buffer
    for (const Value& original :
         {Value(longText), Value(""), Value(), Value(Money::fromTicks(12345)),
          Value(std::int64_t{-7}), Value(2.5)}) {
        Value value = original;
        EXPECT_EQ(value.takeText(), original.toText());
        EXPECT_EQ(value, original.isText() ? Value("") : original);
    }
}

TEST(Value, RowsMadeInPlaceHoldTheirValuesInOrder) {
    std::string text = "Fornecedor Águas";
    const std::vector<Value> row = valueRow(std::move(text), "b", Money::fromTicks(1), Value());
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[0], Value("Fornecedor Águas"));
    EXPECT_EQ(row[1], Value("b"));
    EXPECT_EQ(row[2], Value(Money::fromTicks(1)));
    EXPECT_TRUE(row[3].isNull());
}

}  // namespace
}  // namespace talvers
