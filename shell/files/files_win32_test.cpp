// The Windows side of the files the program writes, where it differs from POSIX: a target
// another program holds open, devices, the append-only trace file, what killed runs leave,
// and a full disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "shell/files/append_file.h"
#include "shell/files/file_error.h"
#include "shell/files/file_identity.h"
#include "shell/files/open_file.h"
#include "shell/files/private_folder.h"
#include "shell/files/private_folder_names.h"
#include "shell/files/safe_replace.h"
#include "shell/files/scratch_folder.h"
#include "tests/support/file_failure.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::fileFailureOf;
using testing::folderEntries;
using testing::TempDir;
using testing::writeText;

bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(FilesOnWindows, ATargetOpenInAnotherProgramIsToldAndKept) {
    TempDir dir;
    const fs::path target = dir / "mapa.xlsx";
    writeText(target, "old");
    // As a spreadsheet holds the file it shows: readers welcome, no writer, no rename.
    const HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fileFailureOf([&] { SafeReplace(utf8FromPath(target), {}); }),
              "Não foi possível gravar o ficheiro '" + utf8FromPath(target) +
                  "': o ficheiro está aberto noutro programa  " + std::to_string(EBUSY));
    CloseHandle(held);
    EXPECT_EQ(fileBytes(target), "old");
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
}

TEST(FilesOnWindows, DevicesAreNoFilesToReplaceOrAppendTo) {
    const std::string notRegular = std::string(kNotARegularFile) + "  " + std::to_string(EINVAL);
    EXPECT_EQ(fileFailureOf([] { SafeReplace("NUL", {}); }),
              "Não foi possível gravar o ficheiro 'NUL': " + notRegular);
    EXPECT_EQ(fileFailureOf([] { AppendFile(L"NUL", {}); }), notRegular);
}

TEST(FilesOnWindows, TheTraceAppendsToItsFileAndRefusesFoldersAndTheProgramsOwn) {
    TempDir dir;
    fs::create_directory(dir / "João Conceição");
    const fs::path trace = dir / "João Conceição" / pathFromUtf8("registo ç.txt");
    AppendFile(trace, {}).append("primeira\n");
    AppendFile(trace, {}).append("segunda\n");
    EXPECT_EQ(fileBytes(trace), "primeira\nsegunda\n");

    writeText(dir / "erp.db", "SQLite format 3");
    EXPECT_EQ(fileFailureOf([&] { AppendFile(dir / "erp.db", {dir / "." / "erp.db"}); }),
              std::string(kProgramsOwnFileForLog) + "  " + std::to_string(EPERM));
    EXPECT_EQ(fileFailureOf([&] { AppendFile(dir / "João Conceição", {}); }),
              std::string(kFolderOfThatName) + "  " + std::to_string(EISDIR));
    EXPECT_EQ(fileBytes(dir / "erp.db"), "SQLite format 3");
}

// A folder of a run that is gone: named as ours, with a whole mark (or an unfinished one and
// nothing else) and perhaps a half-written file.
void leaveDeadRun(const fs::path& folder, const std::string& mark, bool withFile) {
    fs::create_directory(folder);
    writeText(folder / kRunMarkName, mark);
    if (withFile) writeText(folder / "novo", "metade");
}

TEST(FilesOnWindows, TheNextRunRemovesWhatDeadRunsLeftAndNothingElse) {
    TempDir dir;
    OpenFolder parent(dir.path());
    PrivateFolder live(parent);
    const std::string liveName = folderEntries(dir.path()).at(0);
    live.createFile("novo", 0666)->writeAll("a escrever");

    const std::string whole(kRunMark);
    leaveDeadRun(dir / ".talvers-00000000000000a1", whole, true);
    leaveDeadRun(dir / ".talvers-00000000000000a2", whole.substr(0, 10), false);
    // Look like ours but are not: no mark, another text, another kind of name.
    leaveDeadRun(dir / ".talvers-00000000000000b1", "outra coisa", true);
    fs::create_directory(dir / ".talvers-00000000000000b2");
    writeText(dir / ".talvers-00000000000000b2" / "dados", "de outro");
    leaveDeadRun(dir / ".talvers-xyz", whole, true);

    EXPECT_EQ(removeLeftoverPrivateFolders(parent),
              (std::vector<std::string>{".talvers-00000000000000a1", ".talvers-00000000000000a2"}));
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{".talvers-00000000000000b1", ".talvers-00000000000000b2",
                                        liveName, ".talvers-xyz"}));
    EXPECT_EQ(fileBytes(pathFromUtf8(live.pathForLibrary("novo"))), "a escrever");
}

TEST(FilesOnWindows, AFullDiskIsToldAsSuch) {
    if (!underWine()) GTEST_SKIP() << "the full device Z:\\dev\\full exists only under Wine";
    const HANDLE full =
        CreateFileW(L"Z:\\dev\\full", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(full, INVALID_HANDLE_VALUE);
    OpenFile file(reinterpret_cast<OpenFile::Native>(full));
    EXPECT_EQ(fileFailureOf([&] { file.writeAll("mais uma linha"); }),
              "o disco está cheio  " + std::to_string(ENOSPC));
}

// The library's temporaries go to the user's temporary folder, whatever its name holds.
TEST(FilesOnWindows, TheScratchFolderIsMadeInTheUsersTemporaryFolder) {
    TempDir dir;
    const fs::path temporary = dir / "João Conceição";
    fs::create_directory(temporary);
    wchar_t before[MAX_PATH + 1] = {};
    const DWORD kept = GetEnvironmentVariableW(L"TMP", before, MAX_PATH + 1);
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", temporary.c_str()));
    // The same folder, however Windows spells it (a trailing separator, short names).
    EXPECT_EQ(fileIdentity(systemTemporaryFolder()), fileIdentity(temporary));
    {
        ScratchFolder scratch;
        EXPECT_EQ(folderEntries(temporary).size(), 1u);
        EXPECT_EQ(fileIdentity(pathFromUtf8(scratch.pathForLibrary()).parent_path()),
                  fileIdentity(temporary));
    }
    SetEnvironmentVariableW(L"TMP", kept ? before : nullptr);
    EXPECT_TRUE(folderEntries(temporary).empty());
}

}  // namespace
}  // namespace talvers
