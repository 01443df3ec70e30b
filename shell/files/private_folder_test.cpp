// The private folder of a run: only its user may enter it, libraries reach it through its
// handle, it goes when the run ends, and what a killed run left goes with the next run in that
// folder — while nothing that only looks like one is ever touched.
#include "shell/files/private_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::folderEntries;
using testing::TempDir;
using testing::writeText;

// The one private folder in `folder` (the name of an entry starting ".talvers-").
std::string privateName(const fs::path& folder) {
    std::string found;
    for (const auto& name : folderEntries(folder)) {
        if (name.rfind(".talvers-", 0) == 0) found = name;
    }
    return found;
}

// What a run killed while writing leaves in `folder`: its private folder with a file in it.
// Made in a workshop folder beside, so that it does not clean up the others.
std::string leaveDeadRun(const fs::path& folder) {
    const fs::path workshop = folder / "oficina";
    fs::create_directory(workshop);
    const pid_t child = fork();
    if (child == 0) {
        OpenFolder parent(workshop);
        auto* run = new PrivateFolder(parent);  // never destroyed: the run dies
        run->createFile("novo", 0600)->writeAll("metade");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const std::string name = privateName(workshop);
    fs::rename(workshop / name, folder / name);
    fs::remove(workshop);
    return name;
}

TEST(PrivateFolder, OnlyItsUserEntersLibrariesReachItByHandleAndItGoesAtTheEnd) {
    TempDir dir;
    OpenFolder parent(dir.path());
    {
        PrivateFolder run(parent);
        const std::string name = privateName(dir.path());
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(fs::status(dir / name).permissions(), fs::perms::owner_all);
        // Renamed away by someone else, it is still what the library's path reaches.
        fs::rename(dir / name, dir / "movida");
        std::FILE* file = std::fopen(run.pathForLibrary("da-biblioteca").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("x", file);
        std::fclose(file);
        EXPECT_EQ(fileBytes(dir / "movida" / "da-biblioteca"), "x");
        fs::rename(dir / "movida", dir / name);
        run.createFile("novo", 0666)->writeAll("conteúdo");
        run.moveOut("novo", "final.xlsx");
    }
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"final.xlsx"});
    EXPECT_EQ(fileBytes(dir / "final.xlsx"), "conteúdo");
}

TEST(PrivateFolder, TheNextRunRemovesWhatDeadRunsLeftAndNothingThatOnlyLooksLikeIt) {
    TempDir dir;
    const fs::path outside = dir / "fora";
    fs::create_directory(outside);
    writeText(outside / "alvo", "do utilizador");

    // A live run's folder: its lock is held.
    OpenFolder parent(dir.path());
    auto live = std::make_unique<PrivateFolder>(parent);
    const std::string liveName = privateName(dir.path());
    ASSERT_FALSE(liveName.empty());

    const std::string dead = leaveDeadRun(dir.path());
    ASSERT_FALSE(dead.empty());
    // A dead run's folder holding a link: the link goes, what it names stays.
    const std::string deadWithLink = leaveDeadRun(dir.path());
    fs::create_symlink(outside / "alvo", dir / deadWithLink / "ligacao");
    // Look-alikes: by name only, with another text in the mark, a file, a link to a dead
    // run's folder, an old-style temporary's name.
    const std::vector<std::string> lookAlikes = {
        ".talvers-0123456789abcdef", ".talvers-00000000000000aa", ".talvers-fedcba9876543210",
        ".talvers-1111111111111111", ".w.xlsx.tmp-11111111"};
    fs::create_directory(dir / lookAlikes[0]);
    writeText(dir / lookAlikes[0] / "novo", "x");
    fs::create_directory(dir / lookAlikes[1]);
    writeText(dir / lookAlikes[1] / ".talvers-run", "outra coisa\n");
    writeText(dir / lookAlikes[2], "ficheiro do utilizador");
    fs::rename(dir / dead, outside / "morta");
    fs::create_symlink(outside / "morta", dir / lookAlikes[3]);
    writeText(dir / lookAlikes[4], "x");
    fs::rename(outside / "morta", dir / dead);

    // Runs killed while making their folder: empty, or with the mark half written. An empty
    // folder open to others only looks like one.
    const std::string unmarked = ".talvers-2222222222222222";
    const std::string halfMarked = ".talvers-3333333333333333";
    for (const auto& name : {unmarked, halfMarked}) fs::create_directory(dir / name);
    for (const auto& name : {unmarked, halfMarked})
        fs::permissions(dir / name, fs::perms::owner_all, fs::perm_options::replace);
    writeText(dir / halfMarked / ".talvers-run", "Talvers: pasta");
    const std::string openToOthers = ".talvers-4444444444444444";
    fs::create_directory(dir / openToOthers);
    fs::permissions(dir / openToOthers, fs::perms::all, fs::perm_options::replace);
    // The user's own empty private folders, named otherwise: never a run's.
    const std::vector<std::string> usersOwn = {"Guardados", ".talvers-222222222222222"};
    for (const auto& name : usersOwn) {
        fs::create_directory(dir / name);
        fs::permissions(dir / name, fs::perms::owner_all, fs::perm_options::replace);
    }

    std::vector<std::string> removed = removeLeftoverPrivateFolders(parent);
    std::sort(removed.begin(), removed.end());
    std::vector<std::string> expected = {dead, deadWithLink, unmarked, halfMarked};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(removed, expected);
    for (const auto& name : lookAlikes)
        EXPECT_TRUE(fs::exists(fs::symlink_status(dir / name))) << name;
    EXPECT_EQ(fileBytes(dir / lookAlikes[0] / "novo"), "x");
    EXPECT_EQ(fileBytes(outside / "alvo"), "do utilizador");
    EXPECT_TRUE(fs::exists(dir / liveName / ".talvers-run"));
    EXPECT_TRUE(fs::exists(dir / openToOthers));
    for (const auto& name : usersOwn) EXPECT_TRUE(fs::is_directory(dir / name)) << name;

    // Another user's leftover is theirs to remove.
    if (geteuid() == 0) {
        const std::string theirs = leaveDeadRun(dir.path());
        ASSERT_EQ(chown((dir / theirs).c_str(), 65534, 65534), 0);
        EXPECT_TRUE(removeLeftoverPrivateFolders(parent).empty());
        EXPECT_TRUE(fs::exists(dir / theirs));
        fs::remove_all(dir / theirs);
    }
    live.reset();
    EXPECT_FALSE(fs::exists(dir / liveName));
}

}  // namespace
}  // namespace talvers
