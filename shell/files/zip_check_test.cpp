#include "shell/files/zip_check.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <utility>

#include "shell/workbook/workbook_writer.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/temp_dir.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}
void put32(std::string& out, unsigned long value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16 & 0xFFFF);
}

// A zip of stored (uncompressed) parts, whole by its own index.
std::string storedZip(const std::vector<std::pair<std::string, std::string>>& parts) {
    std::string file;
    std::string index;
    for (const auto& [name, data] : parts) {
        const unsigned long crc =
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
        const unsigned long offset = file.size();
        put32(file, 0x04034b50);
        put16(file, 20), put16(file, 0), put16(file, 0), put16(file, 0), put16(file, 0);
        put32(file, crc), put32(file, data.size()), put32(file, data.size());
        put16(file, name.size()), put16(file, 0);
        file += name + data;
        put32(index, 0x02014b50);
        put16(index, 20), put16(index, 20), put16(index, 0), put16(index, 0);
        put16(index, 0), put16(index, 0);
        put32(index, crc), put32(index, data.size()), put32(index, data.size());
        put16(index, name.size()), put16(index, 0), put16(index, 0), put16(index, 0);
        put16(index, 0), put32(index, 0), put32(index, offset);
        index += name;
    }
    const unsigned long start = file.size();
    file += index;
    put32(file, 0x06054b50);
    put16(file, 0), put16(file, 0), put16(file, parts.size()), put16(file, parts.size());
    put32(file, index.size()), put32(file, start), put16(file, 0);
    return file;
}

std::string problemOf(const std::string& contents) {
    testing::TempDir dir;
    const fs::path file = dir / "f.zip";
    std::ofstream(file, std::ios::binary) << contents;
    const int fd = open(file.c_str(), O_RDONLY);
    const std::string problem = zipFileProblem(fd);
    close(fd);
    return problem;
}

TEST(ZipCheck, AWholeWorkbookPassesAndEveryCutOrChangedByteIsFound) {
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

TEST(ZipCheck, XmlPartsMustEndWithTheirRootsClosingTag) {
    const std::string head = "<?xml version=\"1.0\"?>\n<worksheet xmlns=\"x\"><sheetData>";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {head + "<row r=\"1\"></row></sheetData></worksheet>\r\n", ""},
        {"<Types/>", ""},
        {head + "<row r=\"1\"></row></sheetData>",
         "a parte 'xl/worksheets/sheet1.xml' está incompleta"},
        {head + "<row r=\"1\"><c r=\"A1\"", "a parte 'xl/worksheets/sheet1.xml' está incompleta"},
        {"", "a parte 'xl/worksheets/sheet1.xml' está incompleta"},
    };
    for (const auto& [xml, problem] : cases) {
        SCOPED_TRACE(xml);
        EXPECT_EQ(problemOf(storedZip(
                      {{"docProps/app.bin", "\x01\x02"}, {"xl/worksheets/sheet1.xml", xml}})),
                  problem);
    }
    EXPECT_EQ(problemOf(storedZip({})), "o ficheiro zip está vazio");
}

}  // namespace
}  // namespace talvers
