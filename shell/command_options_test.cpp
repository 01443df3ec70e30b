#include "shell/command_options.h"

#include <gtest/gtest.h>

namespace talvers {
namespace {

TEST(CommandOptions, ValuesAndPositionalArguments) {
    const CommandOptions o({"--settings", "a b.qor", "TEXT", "--output", "x.xlsx", "more"},
                           {"--settings", "--output", "--date"});
    EXPECT_EQ(o.value("--settings"), "a b.qor");
    EXPECT_EQ(o.value("--output"), "x.xlsx");
    EXPECT_EQ(o.value("--date"), std::nullopt);
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"TEXT", "more"}));
    EXPECT_NO_THROW(o.requirePositional(2, "two"));
    EXPECT_THROW(o.requirePositional(1, "one"), UsageError);
}

TEST(CommandOptions, UnknownMissingAndRepeatedOptionsAreUsageErrors) {
    EXPECT_THROW(CommandOptions({"--output", "x"}, {"--settings"}), UsageError);
    EXPECT_THROW(CommandOptions({"--settings"}, {"--settings"}), UsageError);
    EXPECT_THROW(CommandOptions({"--settings", "a", "--settings", "b"}, {"--settings"}),
                 UsageError);
    try {
        CommandOptions({"--sttings", "a"}, {"--settings"});
        FAIL();
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find("--sttings"), std::string::npos);
    }
}

TEST(CommandOptions, DoubleDashEndsTheOptions) {
    const CommandOptions o({"--", "--not-an-option", "--settings"}, {"--settings"});
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"--not-an-option", "--settings"}));
    EXPECT_EQ(o.value("--settings"), std::nullopt);
}

}  // namespace
}  // namespace talvers
