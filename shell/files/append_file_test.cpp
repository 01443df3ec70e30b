// The rules of an appended file (the statement trace): a regular file or a new one, never a
// file the program works on, never a wait on a FIFO, and no write lost without a word.
#include "shell/files/append_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "shell/files/file_error.h"
#include "tests/support/file_failure.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::TempDir;
using testing::writeText;

// "" when `file` opens and takes a line, else the reason and number.
std::string outcome(const fs::path& file, const std::vector<fs::path>& protectedFiles) {
    return testing::fileFailureOf([&] { AppendFile(file, protectedFiles).append("linha\n"); });
}

TEST(AppendFile, TakesRegularAndNewFilesAndRefusesEverythingElseAtOnce) {
    TempDir dir;
    const fs::path database = dir / "erp.db";
    const fs::path settings = dir / "Talvers.qor";
    const fs::path journal = dir / "erp.db-journal";
    writeText(database, "SQLite format 3");
    writeText(settings, "[Ligação]\n");
    writeText(dir / "registo.tsv", "antes\n");
    fs::create_hard_link(database, dir / "fisica.db");
    fs::create_symlink(settings, dir / "atalho.qor");
    fs::create_symlink("falta.tsv", dir / "pendente.tsv");
    fs::create_directory(dir / "pasta");
    ASSERT_EQ(mkfifo((dir / "fila").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((dir / "fila_lida").c_str(), 0600), 0);
    const int reader = open((dir / "fila_lida").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);

    const std::string notRegular =
        "não é um ficheiro normal (é um dispositivo, um FIFO ou um socket)  ";
    const std::string inUse =
        "é um ficheiro que o programa está a usar (base de dados ou definições) e não pode ser "
        "usado para o registo  " +
        std::to_string(EPERM);
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {dir / "novo.tsv", ""},
        {dir / "registo.tsv", ""},
        {database, inUse},
        {settings, inUse},
        {dir / "fisica.db", inUse},
        {dir / "atalho.qor", inUse},
        // By name, before anything is made: the journal SQLite may make beside the database.
        {journal, inUse},
        {dir / "ERP.DB-journal", inUse},
        {dir / "pendente.tsv", "a ligação simbólica \"" + (dir / "pendente.tsv").string() +
                                   "\" aponta para um ficheiro que não existe  " +
                                   std::to_string(ENOENT)},
        {dir / "pasta", "existe uma pasta com esse nome  " + std::to_string(EISDIR)},
        {dir / "falta" / "registo.tsv", "a pasta não existe  " + std::to_string(ENOENT)},
        {dir / "fila", notRegular + std::to_string(ENXIO)},
        {dir / "fila_lida", notRegular + std::to_string(EINVAL)},
        {"/dev/full", notRegular + std::to_string(EINVAL)},
    };
    // A wait on a FIFO would hang here; the alarm ends the test instead.
    alarm(20);
    for (const auto& [file, expected] : cases) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(outcome(file, {database, settings, journal}), expected);
    }
    alarm(0);
    close(reader);
    EXPECT_EQ(fileBytes(dir / "registo.tsv"), "antes\nlinha\n");
    EXPECT_EQ(fileBytes(dir / "novo.tsv"), "linha\n");
    EXPECT_EQ(fileBytes(database), "SQLite format 3");
    EXPECT_EQ(fileBytes(settings), "[Ligação]\n");
    EXPECT_FALSE(fs::exists(journal));
    EXPECT_FALSE(fs::exists(dir / "falta.tsv"));
}

}  // namespace
}  // namespace talvers
