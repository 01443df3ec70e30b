#include "shell/files/zip_check.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <utility>

#include "shell/files/open_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_parts.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;

using testing::storedZip;

std::string problemOf(const std::string& contents) {
    testing::TempDir dir;
    const fs::path file = dir / "f.zip";
    std::ofstream(file, std::ios::binary) << contents;
    return zipFileProblem(*openFileForReading(file));
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
