// What may replace what: the targets refused, the attributes kept, the temporaries removed,
// and — under file-size limits in a child process — never a cut workbook in place of a whole
// one, never a temporary file left open or on disk.
#include "shell/files/safe_replace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "shell/files/file_error.h"
#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::dumpWorkbook;
using testing::RecordingPresenter;
using testing::TempDir;

using testing::folderEntries;
using testing::writeText;

std::string readFile(const fs::path& path) {
    return testing::fileBytes(path);
}

Table rowsOf(int count) {
    Table table({{"Texto", FieldType::Text, 20}, {"Valor", FieldType::Money, 8}});
    for (int i = 0; i < count; ++i) {
        table.addRow({"linha " + std::to_string(i), Money::fromTicks(i * 12345)});
    }
    return table;
}

class SafeReplaceTest : public ::testing::Test {
  protected:
    bool write(const fs::path& file, const std::vector<fs::path>& protectedFiles = {}) {
        presenter.shown.clear();
        return writeWorkbook({"Folha"}, {"T"}, file.string(), rowsOf(3), presenter, {},
                             protectedFiles);
    }
    std::string failure() const {
        return presenter.texts().size() == 1 ? presenter.texts()[0] : "(not one message)";
    }
    TempDir dir;
    RecordingPresenter presenter;
};

// What only POSIX systems have: FIFOs, devices, symbolic links to the program's own files
// (the refusals every system shares are in replace_rules_test.cpp).
TEST_F(SafeReplaceTest, RefusesSpecialFilesAndLinksToTheProgramsOwnAndLeavesThemAsTheyWere) {
    const fs::path settings = dir / "Talvers.qor";
    writeText(settings, "[Ligação]");
    fs::create_symlink("Talvers.qor", dir / "atalho.qor");
    ASSERT_EQ(mkfifo((dir / "fila.xlsx").c_str(), 0644), 0);

    const std::vector<std::pair<fs::path, std::string>> cases = {
        {dir / "atalho.qor", std::string(kProgramsOwnFile) + "  " + std::to_string(EPERM)},
        {dir / "fila.xlsx", std::string(kNotARegularFile) + "  " + std::to_string(EINVAL)},
        {"/dev/null", std::string(kNotARegularFile) + "  " + std::to_string(EINVAL)},
    };
    for (const auto& [target, reason] : cases) {
        SCOPED_TRACE(target.string());
        struct stat before {};
        ASSERT_EQ(stat(target.c_str(), &before), 0);
        EXPECT_FALSE(write(target, {settings}));
        EXPECT_EQ(failure(), "Situação Anómala\n\rErro: Não foi possível gravar o ficheiro '" +
                                 target.string() + "': " + reason);
        struct stat after {};
        ASSERT_EQ(stat(target.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
    EXPECT_TRUE(fs::is_symlink(dir / "atalho.qor"));
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"Talvers.qor", "atalho.qor", "fila.xlsx"}));
}

TEST_F(SafeReplaceTest, KeepsTheModeAndWritesThroughASymbolicLink) {
    const fs::path privateFile = dir / "privado.xlsx";
    writeText(privateFile, "old");
    fs::permissions(privateFile, fs::perms(0600));
    ASSERT_TRUE(write(privateFile)) << failure();
    EXPECT_EQ(fs::status(privateFile).permissions(), fs::perms(0600));

    fs::create_directory(dir / "partilha");
    writeText(dir / "partilha" / "real.xlsx", "old");
    fs::permissions(dir / "partilha" / "real.xlsx", fs::perms(0640));
    fs::create_symlink("partilha/real.xlsx", dir / "atalho.xlsx");
    ASSERT_TRUE(write(dir / "atalho.xlsx")) << failure();
    EXPECT_TRUE(fs::is_symlink(dir / "atalho.xlsx"));
    EXPECT_EQ(fs::read_symlink(dir / "atalho.xlsx"), "partilha/real.xlsx");
    EXPECT_EQ(dumpWorkbook(dir / "partilha" / "real.xlsx").cell("Folha", "A4").value, "linha 0");
    EXPECT_EQ(fs::status(dir / "partilha" / "real.xlsx").permissions(), fs::perms(0640));
    EXPECT_EQ(folderEntries(dir / "partilha"), std::vector<std::string>{"real.xlsx"});

    // A link that leads nowhere is never followed to make a file where it points.
    fs::create_symlink("partilha/novo.xlsx", dir / "pendente.xlsx");
    EXPECT_FALSE(write(dir / "pendente.xlsx"));
    EXPECT_NE(failure().find("a ligação simbólica \"" + (dir / "pendente.xlsx").string() +
                             "\" aponta para um ficheiro que não existe"),
              std::string::npos)
        << failure();
    EXPECT_EQ(folderEntries(dir / "partilha"), std::vector<std::string>{"real.xlsx"});
}

// An existing folder that takes no new file is not called missing: the kernel's own folders
// refuse a new file with ENOENT (/proc) or EACCES (/sys), even to the super-user.
TEST_F(SafeReplaceTest, FoldersThatExistButTakeNoFileAreToldApart) {
    // The super-user is told EPERM where another user is told EACCES: the same reason.
    const std::string noPermission = "sem permissão de escrita na pasta  ";
    const std::string sysReason = noPermission + std::to_string(geteuid() == 0 ? EPERM : EACCES);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/proc/mapa.xlsx", "a pasta não permite criar ficheiros  2"},
        {"/sys/mapa.xlsx", sysReason},
        {(dir / "falta" / "mapa.xlsx").string(), "a pasta não existe  2"},
    };
    for (const auto& [target, reason] : cases) {
        SCOPED_TRACE(target);
        EXPECT_FALSE(write(target));
        EXPECT_EQ(failure(), "Situação Anómala\n\rErro: Não foi possível gravar o ficheiro '" +
                                 target + "': " + reason);
    }
}

// The child's verdict on one write under a file-size limit.
enum Outcome {
    Written = 0,
    FailedStreaming = 10,
    FailedLater = 11,
    NotOneMessage = 12,
    Leaked = 13
};

// Whether any descriptor still points into the folder: the private folder, a file in it, or
// the folder itself.
bool descriptorLeft(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string target = fs::read_symlink(entry.path(), ec).string();
        if (target.find(folder.string()) == 0) {
            std::cerr << "left open: " << target << "\n";
            return true;
        }
    }
    return false;
}

Outcome writeInChild(const fs::path& file, const Table& rows, rlim_t limit) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        RecordingPresenter presenter;
        const bool written = writeWorkbook({"Folha"}, {"T"}, file.string(), rows, presenter);
        Outcome outcome = Written;
        if (descriptorLeft(file.parent_path())) {
            outcome = Leaked;
        } else if (!written) {
            outcome = presenter.texts().size() != 1 ? NotOneMessage
                      : presenter.texts()[0].find("escrever a folha") != std::string::npos
                          ? FailedStreaming
                          : FailedLater;
        }
        _exit(outcome);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<Outcome>(WEXITSTATUS(status)) : NotOneMessage;
}

// Every file-size limit either gives the whole new workbook or keeps the old one, with the
// failure told and nothing left behind. The limits probed start just above the smallest one
// the rows' own stream fits in: there the workbook still needs more room while it is closed.
TEST(SafeReplaceUnderSizeLimits, EitherTheWholeWorkbookOrTheOldFileAndNothingLeft) {
    TempDir dir;
    const fs::path file = dir / "mapa.xlsx";
    const Table rows = rowsOf(3000);
    rlim_t low = 1;
    rlim_t high = 1 << 24;
    while (high - low > 1) {
        const rlim_t middle = low + (high - low) / 2;
        writeText(file, "old contents");
        const Outcome outcome = writeInChild(file, rows, middle);
        ASSERT_NE(outcome, Leaked) << middle;
        (outcome == FailedStreaming ? low : high) = middle;
    }
    int failedAtClose = 0;
    for (rlim_t limit = high; limit < high + 4096; limit += 512) {
        SCOPED_TRACE(limit);
        writeText(file, "old contents");
        const Outcome outcome = writeInChild(file, rows, limit);
        ASSERT_TRUE(outcome == Written || outcome == FailedLater) << outcome;
        if (outcome == FailedLater) {
            ++failedAtClose;
            EXPECT_EQ(readFile(file), "old contents");
        } else {
            const auto dump = dumpWorkbook(file);
            EXPECT_EQ(dump.maxRow("Folha"), 3003);
            EXPECT_EQ(dump.cell("Folha", "A3003").value, "linha 2999");
        }
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"mapa.xlsx"});
    }
    EXPECT_GT(failedAtClose, 0);
}

}  // namespace
}  // namespace talvers
