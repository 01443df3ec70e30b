// The zip check on a workbook as the writer makes it: whole, it passes; cut anywhere or with
// any byte of its contents changed, it is caught.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "shell/files/open_file.h"
#include "shell/files/zip_check.h"
#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

std::string problemOf(const std::string& contents) {
    testing::TempDir dir;
    const fs::path file = dir / "f.zip";
    std::ofstream(file, std::ios::binary) << contents;
    return zipFileProblem(*openFileForReading(file));
}

TEST(WorkbookZipCheck, AWholeWorkbookPassesAndEveryCutOrChangedByteIsFound) {
    testing::TempDir dir;
    Table rows({{"Texto", FieldType::Text, 20}});
    for (int i = 0; i < 200; ++i) rows.addRow({"linha " + std::to_string(i)});
    testing::RecordingPresenter presenter;
    ASSERT_TRUE(writeWorkbook({"Folha"}, {"T"}, (dir / "m.xlsx").string(), rows, presenter));
    std::ifstream in(dir / "m.xlsx", std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(problemOf(whole), "");
    for (size_t size = 0; size < whole.size(); size += 97) {
        EXPECT_NE(problemOf(whole.substr(0, size)), "") << "cut at " << size;
    }
    // Any changed byte of the parts' data or headers, but for a header's version and time,
    // which say nothing about the contents.
    std::vector<size_t> headers;
    for (size_t at = whole.find("PK\x03\x04"); at != std::string::npos;
         at = whole.find("PK\x03\x04", at + 1)) {
        headers.push_back(at);
    }
    const auto meaningless = [&](size_t at) {
        for (size_t header : headers) {
            const size_t field = at - header;
            if (at >= header && (field == 4 || field == 5 || (field >= 10 && field < 14)))
                return true;
        }
        return false;
    };
    // Where the index starts, as the end record (22 bytes, no comment) gives it.
    const auto* end = reinterpret_cast<const unsigned char*>(whole.data() + whole.size() - 22);
    const size_t index = end[16] | end[17] << 8 | end[18] << 16 | size_t{end[19]} << 24;
    for (size_t at = 0; at < index; at += 61) {
        if (meaningless(at)) continue;
        std::string changed = whole;
        changed[at] = static_cast<char>(changed[at] ^ 0x5A);
        EXPECT_NE(problemOf(changed), "") << "changed at " << at;
    }
}

}  // namespace
}  // namespace talvers
