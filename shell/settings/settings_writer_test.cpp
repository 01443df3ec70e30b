// The settings file is written as any file the program writes — whole, through a link — and
// is readable by its owner alone, whether it is new or rewritten.
#include "shell/settings/settings_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/settings/settings_error.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::folderEntries;
using testing::TempDir;

ConnectionSettings sqlite(const std::string& database) {
    ConnectionSettings settings;
    settings.engine = Engine::Sqlite;
    settings.database = database;
    return settings;
}

TEST(SettingsWriter, NewAndRewrittenFilesAreWholeAndTheOwnersAlone) {
    TempDir dir;
    const fs::path file = dir / "Talvers.qor";
    const fs::path link = dir / "atalho.qor";
    fs::create_symlink("Talvers.qor", link);
    for (const std::string& previous : {std::string(), std::string("[Talvers]\nUtilitario=1\n")}) {
        SCOPED_TRACE(previous);
        if (!previous.empty()) {
            testing::writeText(file, previous);
            fs::permissions(file, fs::perms(0644));
        }
        // A link leads to a file that is there; a new file is made by its own name.
        writeSettingsFile(previous.empty() ? file : link, sqlite("erp.db"), sqlite("externa.db"));
        EXPECT_EQ(
            fileBytes(file),
            settingsFileText(
                sqlite("erp.db"), sqlite("externa.db"),
                ProgramSettingsValues{
                    .utility = previous.empty() ? std::nullopt : std::optional<std::string>("1")}));
        EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600));
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(folderEntries(dir.path()),
                  (std::vector<std::string>{"Talvers.qor", "atalho.qor"}));
        fs::remove(file);
    }
}

// Another user's link planted where a shared folder's settings file would go leads the
// passwords nowhere: the victim's file stays as it was.
TEST(SettingsWriter, AnotherUsersLinkInASharedFolderIsNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "only the super-user can give a link to another user";
    TempDir dir;
    testing::writeText(dir / "notas.txt", "da vítima");
    for (const fs::perms mode : {fs::perms(01777), fs::perms(0777)}) {
        const fs::path shared = dir / ("partilhada" + std::to_string(static_cast<int>(mode)));
        fs::create_directory(shared);
        fs::permissions(shared, mode);
        const fs::path link = shared / "Talvers.qor";
        fs::create_symlink(dir / "notas.txt", link);
        ASSERT_EQ(lchown(link.c_str(), 4242, 4242), 0);
        try {
            writeSettingsFile(link, sqlite("erp.db"), sqlite("externa.db"));
            ADD_FAILURE() << "written through another user's link";
        } catch (const SettingsError& error) {
            EXPECT_NE(error.description().find("\"" + link.string() +
                                               "\" pertence ao utilizador n.º 4242"),
                      std::string::npos)
                << error.description();
        }
        EXPECT_EQ(fileBytes(dir / "notas.txt"), "da vítima");
    }
}

}  // namespace
}  // namespace talvers
