// A real file system filled at many points of a write: every run either writes the whole
// workbook, all rows reading back, or fails with the reason and leaves the old workbook
// byte-identical — and leaves nothing else behind. The disk is a small tmpfs the test mounts
// (it needs the right to mount; elsewhere the test is skipped and says why).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_dump.h"
#include "tests/support/zip_parts.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::folderEntries;
using testing::RecordingPresenter;
using testing::TempDir;

constexpr int kSteps = 40;
constexpr const char* kSheetPart = "xl/worksheets/sheet1.xml";

// A tmpfs of `bytes` on `folder`, unmounted at the end; `error` says why it was not mounted.
struct SmallDisk {
    SmallDisk(const fs::path& folder, size_t bytes) : folder(folder) {
        fs::create_directory(folder);
        const std::string options = "size=" + std::to_string(bytes);
        if (mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
            error = std::strerror(errno);
        }
    }
    ~SmallDisk() {
        if (error.empty()) umount2(folder.c_str(), MNT_DETACH);
    }
    fs::path folder;
    std::string error;
};

Table reportRows() {
    Table table({{"Documento", FieldType::Text, 20},
                 {"Cliente", FieldType::Text, 40},
                 {"Valor", FieldType::Money, 8},
                 {"Quant.", FieldType::Integer, 4}});
    for (int i = 0; i < 2000; ++i) {
        table.addRow({"ECL/2024/A/" + std::to_string(i),
                      "Cliente Exportação n.º " + std::to_string(i), Money::fromTicks(i * 12345LL),
                      Value(i % 97)});
    }
    return table;
}

std::string sheetOf(const fs::path& workbook) {
    for (const auto& [name, data] : testing::zipParts(workbook)) {
        if (name == kSheetPart) return data;
    }
    return {};
}

// Takes all but `room` bytes of the disk with a file of its own.
void fillLeaving(const fs::path& filler, size_t room) {
    struct statvfs disk {};
    statvfs(filler.parent_path().c_str(), &disk);
    const size_t free = static_cast<size_t>(disk.f_bavail) * disk.f_frsize;
    const int fd = open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    if (free > room) {
        ASSERT_EQ(posix_fallocate(fd, 0, static_cast<off_t>(free - room)), 0);
    }
    close(fd);
}

TEST(WorkbookOnAFullDisk, EveryRunWritesTheWholeWorkbookOrKeepsTheOldOneByteForByte) {
    TempDir dir;
    const Table rows = reportRows();
    // The sheet as a write with room to spare gives it, read by the independent reader.
    RecordingPresenter presenter;
    ASSERT_TRUE(
        writeWorkbook({"Folha"}, {"T"}, (dir / "referencia.xlsx").string(), rows, presenter));
    const testing::XlsxDump dump = testing::dumpWorkbook(dir / "referencia.xlsx");
    ASSERT_EQ(dump.maxRow("Folha"), 2003);
    for (int row = 4; row <= 2003; row += 199) {
        EXPECT_EQ(dump.cell("Folha", row, 1).value, "ECL/2024/A/" + std::to_string(row - 4));
    }
    const std::string sheet = sheetOf(dir / "referencia.xlsx");
    // The library keeps the rows and then the whole sheet in temporary files at once.
    const size_t needed = 2 * sheet.size() + (1 << 17);

    SmallDisk disk(dir / "disco", needed + (1 << 20));
    if (!disk.error.empty()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.error
                     << "); the file-size limit tests cover the same failures";
    }
    const fs::path& folder = disk.folder;
    const fs::path target = folder / "mapa.xlsx";
    ASSERT_TRUE(writeWorkbook({"Antiga"}, {"Antiga"}, target.string(),
                              Table({{"A", FieldType::Text, 5}}), presenter));
    const std::string old = fileBytes(target);

    int written = 0;
    int kept = 0;
    for (int step = 0; step <= kSteps; ++step) {
        const size_t room = needed * step / kSteps;
        SCOPED_TRACE(room);
        fillLeaving(folder / "enchimento", room);
        presenter.shown.clear();
        const bool ok = writeWorkbook({"Folha"}, {"T"}, target.string(), rows, presenter);
        fs::remove(folder / "enchimento");
        if (ok) {
            ++written;
            EXPECT_EQ(sheetOf(target), sheet);
            testing::writeText(target, old);
        } else {
            ++kept;
            EXPECT_EQ(fileBytes(target), old);
            ASSERT_EQ(presenter.texts().size(), 1u);
            // Wherever the room ran out, the reason is the full disk.
            EXPECT_NE(presenter.texts()[0].find("o disco está cheio"), std::string::npos)
                << presenter.texts()[0];
        }
        EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"mapa.xlsx"});
    }
    EXPECT_GT(written, 0);
    EXPECT_GT(kept, 0);
}

}  // namespace
}  // namespace talvers
