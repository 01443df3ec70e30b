// Links and files other users leave in shared folders: a link is followed only when it cannot
// be another user's trap, and another user's file in a sticky folder is not ours — for a file
// that is replaced and for one that is appended to alike, whatever the system's own settings.
// Files are given to other users by the super-user; elsewhere the cases are skipped.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "shell/files/append_file.h"
#include "shell/files/safe_replace.h"
#include "tests/support/file_failure.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::fileFailureOf;
using testing::TempDir;
using testing::writeText;

// Users the system knows no name for.
constexpr uid_t kFolderOwner = 4241;
constexpr uid_t kOtherUser = 4242;
constexpr uid_t kVictim = 4243;
constexpr uid_t kRunner = 0;

using Writer = std::function<void(const fs::path&)>;

const std::vector<std::pair<std::string, Writer>>& writers() {
    static const std::vector<std::pair<std::string, Writer>> all = {
        {"replaced",
         [](const fs::path& file) {
             SafeReplace replace(file.string(), {});
             replace.write("novo");
             replace.commit();
         }},
        {"appended", [](const fs::path& file) { AppendFile(file, {}).append("novo"); }},
    };
    return all;
}

class SharedFolderRules : public ::testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "only the super-user can give files to other users here; the "
                            "command-line tests skip the same cases";
        }
        // Another user's own file, in a folder only they may write to.
        fs::create_directory(dir / "vitima");
        writeText(victim(), "da vítima");
        chown((dir / "vitima").c_str(), kVictim, kVictim);
        chown(victim().c_str(), kVictim, kVictim);
    }
    fs::path victim() const { return dir / "vitima" / "notas.txt"; }
    fs::path folder(mode_t mode, uid_t owner) {
        const fs::path made = dir / ("pasta-" + std::to_string(++folders));
        fs::create_directory(made);
        chmod(made.c_str(), mode);
        chown(made.c_str(), owner, owner);
        return made;
    }
    TempDir dir;
    int folders = 0;
};

TEST_F(SharedFolderRules, LinksAreFollowedOnlyWhenTheirOwnerCannotBeLayingATrap) {
    struct Case {
        mode_t mode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const std::vector<Case> cases = {
        // Writable by all, or sticky: only the runner's and the folder owner's links.
        {01777, kRunner, kOtherUser, false},
        {0777, kRunner, kOtherUser, false},
        {01755, kFolderOwner, kOtherUser, false},
        {01777, kFolderOwner, kOtherUser, false},
        {01777, kFolderOwner, kFolderOwner, true},
        {01777, kFolderOwner, kRunner, true},
        {0777, kRunner, kRunner, true},
        // A folder only its owner (and group) may write to is trusted, as the kernel does.
        {0775, kFolderOwner, kOtherUser, true},
        {0755, kRunner, kOtherUser, true},
    };
    for (const auto& [writer, writeWith] : writers()) {
        // A copy the lambdas below can capture (clang 14 does not capture bindings).
        const Writer write = writeWith;
        for (const Case& c : cases) {
            SCOPED_TRACE(writer + " mode " + std::to_string(c.mode) + " link of " +
                         std::to_string(c.linkOwner));
            writeText(victim(), "da vítima");
            const fs::path link = folder(c.mode, c.folderOwner) / "mapa.xlsx";
            fs::create_symlink(victim(), link);
            lchown(link.c_str(), c.linkOwner, c.linkOwner);
            const std::string failure = fileFailureOf([&] { write(link); });
            if (c.followed) {
                EXPECT_EQ(failure, "");
                EXPECT_NE(fileBytes(victim()), "da vítima");
            } else {
                EXPECT_TRUE(failure.ends_with(
                    "a ligação simbólica \"" + link.string() +
                    "\" pertence ao utilizador n.º 4242, numa pasta onde outros utilizadores "
                    "podem escrever, e não é seguida  " + std::to_string(EPERM)))
                    << failure;
                EXPECT_EQ(fileBytes(victim()), "da vítima");
            }
            EXPECT_TRUE(fs::is_symlink(link));
        }
    }
}

TEST_F(SharedFolderRules, AnotherUsersFileInAStickyFolderIsNotOurs) {
    struct Case {
        mode_t mode;
        uid_t fileOwner;
        bool ours;
    };
    const std::vector<Case> cases = {
        {01777, kOtherUser, false},  // the super-user included
        {01770, kOtherUser, false},  // writable by a group is shared too
        {01777, kFolderOwner, true},
        {01777, kRunner, true},
        {01755, kOtherUser, true},  // sticky, but nobody else may make files there
        {0777, kOtherUser, true},   // not sticky: whoever may write there may replace it
    };
    for (const auto& [writer, writeWith] : writers()) {
        // A copy the lambdas below can capture (clang 14 does not capture bindings).
        const Writer write = writeWith;
        for (const Case& c : cases) {
            SCOPED_TRACE(writer + " mode " + std::to_string(c.mode) + " file of " +
                         std::to_string(c.fileOwner));
            const fs::path file = folder(c.mode, kFolderOwner) / "mapa.xlsx";
            writeText(file, "antigo");
            chmod(file.c_str(), 0666);
            chown(file.c_str(), c.fileOwner, c.fileOwner);
            const std::string failure = fileFailureOf([&] { write(file); });
            if (c.ours) {
                EXPECT_EQ(failure, "");
            } else {
                EXPECT_TRUE(failure.ends_with(
                    "o ficheiro pertence ao utilizador n.º 4242, numa pasta partilhada onde só o "
                    "dono de cada ficheiro o pode substituir  " + std::to_string(EPERM)))
                    << failure;
                EXPECT_EQ(fileBytes(file), "antigo");
            }
        }
    }
}

// The super-user's workbook never becomes another user's file, nor more open than a new file.
TEST_F(SharedFolderRules, AReplacedFileOfAnotherUserBecomesOursAndNoMoreOpen) {
    const mode_t mask = umask(022);
    const fs::path file = folder(0777, kFolderOwner) / "mapa.xlsx";
    writeText(file, "antigo");
    chmod(file.c_str(), 0666);
    chown(file.c_str(), kOtherUser, kOtherUser);
    EXPECT_EQ(fileFailureOf([&] { writers()[0].second(file); }), "");
    umask(mask);
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kRunner);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

}  // namespace
}  // namespace talvers
