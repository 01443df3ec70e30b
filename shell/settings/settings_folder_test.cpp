#include "shell/settings/settings_folder.h"

#include <gtest/gtest.h>

#include <map>

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

TEST(SettingsFolder, BaseFolderPrefersTalversBase) {
    EXPECT_EQ(baseFolder(environment({{"TALVERS_BASE", "/srv/base"},
                                      {"XDG_CONFIG_HOME", "/x"},
                                      {"HOME", "/h"},
                                      {"PROGRAMDATA", "/p"}})),
              fs::path("/srv/base"));
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

}  // namespace
}  // namespace talvers
