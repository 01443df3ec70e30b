// What may replace what, alike on every system: the targets refused with their reasons and
// numbers and left as they were, a file replaced whole in a folder whose name has accents, and
// nothing left beside it, committed or not.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "shell/files/file_error.h"
#include "shell/files/safe_replace.h"
#include "tests/support/file_failure.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::folderEntries;
using testing::TempDir;
using testing::writeText;

// "" when `bytes` replaced `target`, else the failure's description and number.
std::string replaceWith(const fs::path& target, const std::string& bytes,
                        const std::vector<fs::path>& protectedFiles = {}) {
    return testing::fileFailureOf([&] {
        SafeReplace replace(utf8FromPath(target), protectedFiles);
        replace.write(bytes);
        replace.commit();
    });
}

TEST(ReplaceRules, RefusesTargetsThatAreNotOursToReplaceAndLeavesThemAsTheyWere) {
    TempDir dir;
    const fs::path database = dir / "erp.db";
    const fs::path settings = dir / "Talvers.qor";
    writeText(database, "SQLite format 3");
    writeText(settings, "[Ligação]");
    fs::create_hard_link(database, dir / "ligacao_fisica.db");
    writeText(dir / "partilhado.xlsx", "old");
    fs::create_hard_link(dir / "partilhado.xlsx", dir / "outro_nome.xlsx");
    writeText(dir / "so_leitura.xlsx", "old");
    // No write permission for anybody (the read-only attribute on Windows).
    fs::permissions(dir / "so_leitura.xlsx",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::create_directory(dir / "pasta.xlsx");
    // A journal SQLite may make beside the database: refused by name before it exists.
    const std::vector<fs::path> inUse = {database, settings, dir / "erp.db-journal"};

    struct Case {
        fs::path target;
        std::string reason;
        int number;
    };
    const std::vector<Case> cases = {
        {database, kProgramsOwnFile, EPERM},
        {settings, kProgramsOwnFile, EPERM},
        {dir / "ligacao_fisica.db", kProgramsOwnFile, EPERM},
        // A path text that differs but names the same file.
        {dir / "." / "erp.db", kProgramsOwnFile, EPERM},
        {dir / "erp.db-journal", kProgramsOwnFile, EPERM},
        {dir / "ERP.DB-Journal", kProgramsOwnFile, EPERM},
        {dir / "so_leitura.xlsx", kReadOnlyFile, EACCES},
        {dir / "partilhado.xlsx", kOtherHardLinks, EMLINK},
        {dir / "pasta.xlsx", kFolderOfThatName, EISDIR},
        {dir / "pasta.xlsx" / "..", kFolderOfThatName, EISDIR},
        {dir / "falta" / "mapa.xlsx", "a pasta não existe", ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8FromPath(c.target));
        const std::string before = fs::is_directory(c.target) ? "" : fileBytes(c.target);
        EXPECT_EQ(replaceWith(c.target, "new", inUse),
                  "Não foi possível gravar o ficheiro '" + utf8FromPath(c.target) +
                      "': " + c.reason + "  " + std::to_string(c.number));
        if (!fs::is_directory(c.target)) {
            EXPECT_EQ(fileBytes(c.target), before);
        }
    }
    EXPECT_EQ(fileBytes(database), "SQLite format 3");
    EXPECT_EQ(
        folderEntries(dir.path()),
        (std::vector<std::string>{"Talvers.qor", "erp.db", "ligacao_fisica.db", "outro_nome.xlsx",
                                  "partilhado.xlsx", "pasta.xlsx", "so_leitura.xlsx"}));
}

TEST(ReplaceRules, AFileIsReplacedWholeOrNotAtAllAndNothingIsLeftBeside) {
    TempDir dir;
    const fs::path folder = dir / "João Conceição";
    fs::create_directory(folder);
    const fs::path target = folder / pathFromUtf8("mapa ç.xlsx");

    EXPECT_EQ(replaceWith(target, "primeiro"), "");
    EXPECT_EQ(fileBytes(target), "primeiro");
    EXPECT_EQ(replaceWith(target, "segundo, mais comprido"), "");
    EXPECT_EQ(fileBytes(target), "segundo, mais comprido");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"mapa ç.xlsx"});

    {
        // Written and read back, but never committed: the old file stays.
        SafeReplace replace(utf8FromPath(target), {});
        replace.write("terceiro");
        ByteSource& contents = replace.contents();
        ASSERT_EQ(contents.size(), 8u);
        unsigned char last[3] = {};
        contents.readAt(5, last, 3);
        EXPECT_EQ(std::string(last, last + 3), "iro");
        // One byte past the end is a cut file, never a short read.
        try {
            contents.readAt(6, last, 3);
            ADD_FAILURE() << "read past the end";
        } catch (const FileError& failure) {
            EXPECT_EQ(failure.description(), "o ficheiro está cortado");
            EXPECT_EQ(failure.number(), EIO);
        }
        EXPECT_EQ(folderEntries(folder).size(), 2u) << "the private folder, while it works";
    }
    EXPECT_EQ(fileBytes(target), "segundo, mais comprido");
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"mapa ç.xlsx"});
}

}  // namespace
}  // namespace talvers
