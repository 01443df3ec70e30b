#include "shell/cli/command_options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace talvers {
namespace {

constexpr OptionSpec kSettings{"--settings", "FICHEIRO", "as definições", "as do programa"};
constexpr OptionSpec kOutput{"--output", "FICHEIRO", "o livro", "", true};
constexpr OptionSpec kDate{"--date", "AAAA-MM-DD", "a data", ""};
constexpr OptionSpec kAll[] = {kSettings, kOutput, kDate};
constexpr OptionSpec kSettingsOnly[] = {kSettings};

TEST(CommandOptions, ValuesAndPositionalArguments) {
    const CommandOptions o({"--settings", "a b.qor", "TEXT", "--output", "x.xlsx", "more"}, kAll);
    EXPECT_EQ(o.value("--settings"), "a b.qor");
    EXPECT_EQ(o.value("--output"), "x.xlsx");
    EXPECT_EQ(o.value("--date"), std::nullopt);
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"TEXT", "more"}));
    EXPECT_NO_THROW(o.requirePositional(2, "two"));
    EXPECT_THROW(o.requirePositional(1, "one"), UsageError);
}

TEST(CommandOptions, UnknownMissingAndRepeatedOptionsAreUsageErrors) {
    EXPECT_THROW(CommandOptions({"--output", "x"}, kSettingsOnly), UsageError);
    EXPECT_THROW(CommandOptions({"--settings"}, kSettingsOnly), UsageError);
    EXPECT_THROW(CommandOptions({"--settings", "a", "--settings", "b"}, kSettingsOnly), UsageError);
    try {
        CommandOptions({"--sttings", "a"}, kSettingsOnly);
        FAIL();
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find("--sttings"), std::string::npos);
    }
}

// GNU forms: "--opt=value" (an empty value included), single-dash options refused, and a
// lone "-" kept as an argument.
TEST(CommandOptions, LongOptionsTakeTheirValueAfterAnEqualsSign) {
    const CommandOptions o({"--settings=a=b.qor", "--date=", "-"}, kAll);
    EXPECT_EQ(o.value("--settings"), "a=b.qor");
    EXPECT_EQ(o.value("--date"), "");
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"-"}));
    EXPECT_THROW(CommandOptions({"--settings=a", "--settings", "b"}, kAll), UsageError);
    EXPECT_THROW(CommandOptions({"--sett=a"}, kAll), UsageError);
    EXPECT_THROW(CommandOptions({"-x"}, kAll), UsageError);
    EXPECT_EQ(CommandOptions({"--", "-x"}, kAll).positional(), (std::vector<std::string>{"-x"}));
}

TEST(CommandOptions, DoubleDashEndsTheOptionsAndTheHelp) {
    const CommandOptions o({"--", "--not-an-option", "--settings"}, kSettingsOnly);
    EXPECT_EQ(o.positional(), (std::vector<std::string>{"--not-an-option", "--settings"}));
    EXPECT_EQ(o.value("--settings"), std::nullopt);
    EXPECT_TRUE(wantsHelp({"--settings", "a", "--help"}));
    EXPECT_TRUE(wantsHelp({"-h"}));
    EXPECT_FALSE(wantsHelp({"--", "--help"}));
    EXPECT_FALSE(wantsHelp({"--settings", "a"}));
}

// Every declared option appears in the synopsis (optional ones in brackets) and in a help line
// of its own, so the usage cannot leave out what the parser accepts.
TEST(CommandOptions, UsageIsMadeFromTheDeclaration) {
    std::ostringstream out;
    printCommandUsage(out, "prog", {"cmd", "TEXTO", "Faz isto.", kAll});
    std::istringstream lines(out.str());
    std::string synopsis, summary, line;
    std::getline(lines, synopsis);
    std::getline(lines, summary);
    std::getline(lines, line);
    EXPECT_EQ(line, "");
    EXPECT_EQ(synopsis,
              "  prog cmd TEXTO [--settings FICHEIRO] --output FICHEIRO [--date AAAA-MM-DD]");
    EXPECT_EQ(summary, "      Faz isto.");
    std::vector<std::string> help;
    while (std::getline(lines, line)) help.push_back(line);
    ASSERT_EQ(help.size(), std::size(kAll));
    EXPECT_EQ(help[0], "      --settings FICHEIRO   as definições (omissão: as do programa)");
    EXPECT_EQ(help[1], "      --output FICHEIRO     o livro");
}

}  // namespace
}  // namespace talvers
