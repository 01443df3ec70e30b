#include "shell/settings/settings_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "shell/platform/utf8_path.h"
#include "shell/settings/settings_error.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#endif

namespace talvers {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file) {
    testing::writeText(file, "\n");
}

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
// The file holds a password: each user's own, never the machine's shared data folder.
TEST(SettingsFolder, BaseFolderOnWindowsIsTheUsersApplicationData) {
    const char* roaming = "C:\\Users\\ana\\AppData\\Roaming";
    EXPECT_EQ(baseFolder(environment(
                  {{"APPDATA", roaming}, {"PROGRAMDATA", "C:\\ProgramData"}, {"HOME", "C:\\h"}})),
              fs::path(roaming));
    EXPECT_EQ(baseFolder(environment({{"PROGRAMDATA", "C:\\ProgramData"}})), fs::path());
    // A path without a drive is relative to the current drive: ignored.
    EXPECT_EQ(baseFolder(environment({{"APPDATA", "\\Roaming"}})), fs::path());
}

// An administrator's %PROGRAMDATA%\kelmar\<name> serves every user who has none of their own,
// before the program folder's; what a user saves goes to their own folder.
TEST(SettingsFolder, TheMachinesFileServesAUserWhoHasNone) {
    testing::TempDir dir;
    const fs::path program = dir / "program";
    const fs::path user = dir / "user" / "kelmar";
    const fs::path machine = dir / "machine" / "kelmar";
    fs::create_directories(program);
    fs::create_directories(machine);
    const auto env = environment(
        {{"APPDATA", utf8FromPath(dir / "user")}, {"PROGRAMDATA", utf8FromPath(dir / "machine")}});
    touch(program / "Talvers.qor");
    touch(machine / "Talvers.qor");
    EXPECT_EQ(locateSettingsFile("", program, env),
              (SettingsLocation{machine / "Talvers.qor", user / "Talvers.qor"}));
    // Another name falls back only to a machine file of that name.
    EXPECT_EQ(locateSettingsFile("loja2.qor", program, env),
              (SettingsLocation{user / "loja2.qor", user / "loja2.qor"}));
    touch(machine / "loja2.qor");
    EXPECT_EQ(locateSettingsFile("loja2.qor", program, env).file, machine / "loja2.qor");
    // The machine's folder without a file of the name: the program's, as before.
    fs::remove(machine / "Talvers.qor");
    EXPECT_EQ(locateSettingsFile("", program, env).file, program / "Talvers.qor");
    touch(machine / "Talvers.qor");
    createSettingsFolder(user / "Talvers.qor");
    touch(user / "Talvers.qor");
    EXPECT_EQ(locateSettingsFile("", program, env),
              (SettingsLocation{user / "Talvers.qor", user / "Talvers.qor"}));
    // TALVERS_BASE stands for the user's folder; the machine's still serves behind it.
    const auto based = environment({{"TALVERS_BASE", utf8FromPath(dir / "base")},
                                    {"PROGRAMDATA", utf8FromPath(dir / "machine")}});
    EXPECT_EQ(locateSettingsFile("", program, based),
              (SettingsLocation{machine / "Talvers.qor", dir / "base" / "kelmar" / "Talvers.qor"}));
}

// The one entry of a folder's access list, when it has exactly one; nullptr otherwise.
const ACCESS_ALLOWED_ACE* onlyEntry(PACL list) {
    void* entry = nullptr;
    if (list == nullptr || list->AceCount != 1 || !GetAce(list, 0, &entry)) return nullptr;
    return static_cast<const ACCESS_ALLOWED_ACE*>(entry);
}

// Whether `sid` is OWNER RIGHTS, the entry the folder is made with.
bool isOwnerRights(PSID sid) {
    PSID ownerRights = nullptr;
    const bool same = ConvertStringSidToSidW(L"OW", &ownerRights) && EqualSid(sid, ownerRights);
    LocalFree(ownerRights);
    return same;
}

// Wine keeps no access list of its own on a Linux file system: it shows one made up from the
// file's mode.
bool underWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// One entry, the owner's, with full access passed on to what is made inside: nothing inherited
// from the folders above (%APPDATA%'s own entries for SYSTEM and the administrators).
TEST(SettingsFolder, TheFolderLetsItsOwnerAloneIn) {
    if (underWine()) GTEST_SKIP() << "Wine keeps no access lists; Windows itself does";
    testing::TempDir dir;
    const fs::path folder = dir / "cfg" / "kelmar";
    createSettingsFolder(folder / "Talvers.qor");
    for (const fs::path& made : {dir / "cfg", folder}) {
        PACL list = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_EQ(GetNamedSecurityInfoW(made.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &list, nullptr, &descriptor),
                  ERROR_SUCCESS);
        const ACCESS_ALLOWED_ACE* entry = onlyEntry(list);
        ASSERT_NE(entry, nullptr) << made;
        EXPECT_EQ(entry->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_EQ(entry->Mask & FILE_ALL_ACCESS, FILE_ALL_ACCESS);
        EXPECT_TRUE(isOwnerRights(const_cast<DWORD*>(&entry->SidStart))) << made;
        LocalFree(descriptor);
    }
}
#endif

// The user's file first; the program folder's only where a file is already there, and never
// as the place to save; without a base folder, the program folder for both.
TEST(SettingsFolder, TheUsersFileFirstTheProgramsOnlyForReading) {
    testing::TempDir dir;
    const fs::path program = dir / "program";
    // TALVERS_BASE, the base every system reads (HOME is only Linux's).
    const fs::path user = dir / "base" / "kelmar";
    fs::create_directories(program);
    const auto env = environment({{"TALVERS_BASE", (dir / "base").string()}});
    const SettingsLocation fresh{user / "Talvers.qor", user / "Talvers.qor"};

    EXPECT_EQ(locateSettingsFile("", program, env), fresh);
    touch(program / "Talvers.qor");
    EXPECT_EQ(locateSettingsFile("", program, env),
              (SettingsLocation{program / "Talvers.qor", user / "Talvers.qor"}));
    // Another name falls back only to a file of that name.
    EXPECT_EQ(locateSettingsFile("loja2.qor", program, env).file, user / "loja2.qor");
    createSettingsFolder(user / "Talvers.qor");
    touch(user / "Talvers.qor");
    EXPECT_EQ(locateSettingsFile("", program, env), fresh);
    EXPECT_EQ(locateSettingsFile("", program, environment({})),
              (SettingsLocation{program / "Talvers.qor", program / "Talvers.qor"}));
}

TEST(SettingsFolder, TheFolderIsCreatedForTheUserAlone) {
    testing::TempDir dir;
    const fs::path file = dir / "cfg" / "kelmar" / "Talvers.qor";
    createSettingsFolder(file);
    ASSERT_TRUE(fs::is_directory(file.parent_path()));
#ifndef _WIN32
    for (const fs::path& made : {dir / "cfg", dir / "cfg" / "kelmar"}) {
        EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
    }
    // An existing folder keeps its mode.
    fs::permissions(dir / "cfg" / "kelmar",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    createSettingsFolder(file);
    EXPECT_EQ(fs::status(dir / "cfg" / "kelmar").permissions() & fs::perms::group_read,
              fs::perms::group_read);
#endif
    // A file where the folder should be is reported with the folder's path.
    touch(dir / "blocked");
    try {
        createSettingsFolder(dir / "blocked" / "kelmar" / "Talvers.qor");
        FAIL() << "created";
    } catch (const SettingsError& e) {
        EXPECT_NE(e.description().find(pathText(dir / "blocked" / "kelmar")), std::string::npos)
            << e.description();
    }
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

    const fs::path folder =
        locateSettingsFile("", dir / "program", environment({{"TALVERS_BASE", text}}))
            .file.parent_path();
    EXPECT_EQ(folder, base / "kelmar");
    EXPECT_EQ(settingsFilePath(folder, "loja ç.qor"), base / "kelmar" / pathFromUtf8("loja ç.qor"));
    EXPECT_EQ(pathText(settingsFilePath(folder, "")),
              utf8FromPath(base / "kelmar" / "Talvers.qor"));
}

}  // namespace
}  // namespace talvers
