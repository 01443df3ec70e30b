// The settings file is written as any file the program writes — whole, through a link — and
// is readable by its owner alone, whether it is new or rewritten.
#include "shell/settings/settings_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

}  // namespace
}  // namespace talvers
