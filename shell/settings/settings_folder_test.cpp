#include "shell/settings/settings_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "shell/platform/utf8_path.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

// An environment holding just the given variables.
EnvironmentLookup environment(std::map<std::string, std::string> vars) {
    return [vars = std::move(vars)](const char* name) -> std::optional<std::string> {
        const auto it = vars.find(name);
        if (it == vars.end()) return std::nullopt;
        return it->second;
    };
}

// An absolute folder on this system (Windows' need a drive).
#ifdef _WIN32
constexpr const char* kSrvBase = "C:\\srv\\base";
#else
constexpr const char* kSrvBase = "/srv/base";
#endif

TEST(SettingsFolder, BaseFolderPrefersTalversBase) {
    EXPECT_EQ(baseFolder(environment({{"TALVERS_BASE", kSrvBase},
                                      {"XDG_CONFIG_HOME", "/x"},
                                      {"HOME", "/h"},
                                      {"PROGRAMDATA", "/p"}})),
              fs::path(kSrvBase));
    // A relative value could point anywhere depending on the working folder: ignored.
    EXPECT_EQ(baseFolder(environment({{"TALVERS_BASE", "rel"}})), fs::path());
    EXPECT_EQ(baseFolder(environment({})), fs::path());
}

#ifndef _WIN32
TEST(SettingsFolder, BaseFolderOnLinuxIsTheUsersConfigurationFolder) {
    EXPECT_EQ(baseFolder(environment({{"XDG_CONFIG_HOME", "/x/cfg"}, {"HOME", "/h"}})),
              fs::path("/x/cfg"));
    EXPECT_EQ(baseFolder(environment({{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/ana"}})),
              fs::path("/home/ana/.config"));
}
#else
TEST(SettingsFolder, BaseFolderOnWindowsIsTheMachinesDataFolder) {
    EXPECT_EQ(baseFolder(environment({{"PROGRAMDATA", "C:\\ProgramData"}, {"HOME", "C:\\h"}})),
              fs::path("C:\\ProgramData"));
    // A path without a drive is relative to the current drive: ignored.
    EXPECT_EQ(baseFolder(environment({{"PROGRAMDATA", "\\ProgramData"}})), fs::path());
}
#endif

TEST(SettingsFolder, MakerFolderWhenItExistsElseProgramFolder) {
    testing::TempDir base;
    const fs::path program = base / "program";
    const auto env = environment({{"TALVERS_BASE", base.path().string()}});

    EXPECT_EQ(settingsFolder(program, env), program);
    fs::create_directory(base / "kelmar");
    EXPECT_EQ(settingsFolder(program, env), base / "kelmar");
    EXPECT_EQ(settingsFilePath(settingsFolder(program, env), ""), base / "kelmar" / "Talvers.qor");
    EXPECT_EQ(settingsFolder(program, environment({})), program);
}

TEST(SettingsFolder, CommandLineTextNamesAFileInsideTheFolder) {
    const fs::path folder = fs::absolute("cfg");
    EXPECT_EQ(settingsFilePath(folder, ""), folder / "Talvers.qor");
    EXPECT_EQ(settingsFilePath(folder, "loja2.qor"), folder / "loja2.qor");
    // A full path is taken as it is instead of being glued to the folder.
    const fs::path absolute = fs::absolute("elsewhere") / "loja3.qor";
    EXPECT_EQ(settingsFilePath(folder, pathText(absolute)), absolute);
}

TEST(SettingsFolder, ExecutableFolderHoldsThisTest) {
    bool found = false;
    for (const auto& entry : fs::directory_iterator(executableFolder())) {
        found = found || entry.path().stem() == "settings_tests";
    }
    EXPECT_TRUE(found);
}

TEST(SettingsFolder, AnAccentedBaseFolderFromTheEnvironmentIsFound) {
    testing::TempDir dir;
    const fs::path base = dir / "João Conceição";
    fs::create_directories(base / "kelmar");
    const std::string text = utf8FromPath(base);
    // The process environment itself (on Windows the wide one, converted from UTF-16).
#ifdef _WIN32
    ASSERT_EQ(_wputenv_s(L"TALVERS_TEST_BASE", base.c_str()), 0);
#else
    ASSERT_EQ(setenv("TALVERS_TEST_BASE", text.c_str(), 1), 0);
#endif
    EXPECT_EQ(processEnvironment("TALVERS_TEST_BASE"), text);
    EXPECT_EQ(processEnvironment("TALVERS_TEST_UNSET"), std::nullopt);

    const fs::path folder = settingsFolder(dir / "program", environment({{"TALVERS_BASE", text}}));
    EXPECT_EQ(folder, base / "kelmar");
    EXPECT_EQ(settingsFilePath(folder, "loja ç.qor"), base / "kelmar" / pathFromUtf8("loja ç.qor"));
    EXPECT_EQ(pathText(settingsFilePath(folder, "")),
              utf8FromPath(base / "kelmar" / "Talvers.qor"));
}

}  // namespace
}  // namespace talvers
