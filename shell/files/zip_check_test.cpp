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

// A sheet of many read chunks, changed in one byte near its start or near its end: the first
// problem in the part's order is the one reported, and a problem found early ends the check
// without reading the rest.
TEST(ZipCheck, ALargePartReportsItsFirstProblem) {
    std::string rows;
    for (int r = 1; rows.size() < (2u << 20); ++r) {
        rows += "<row r=\"" + std::to_string(r) + "\"><c t=\"inlineStr\"><is><t>texto " +
                std::to_string(r) + "</t></is></c></row>";
    }
    const std::string xml = "<worksheet><sheetData>" + rows + "</sheetData></worksheet>";
    const std::string zip = storedZip({{"xl/worksheets/sheet1.xml", xml}});
    const auto changed = [&](const std::string& from, const std::string& to, bool last) {
        std::string copy = zip;
        const size_t at = last ? copy.rfind(from) : copy.find(from);
        return copy.replace(at, from.size(), to);
    };
    const std::string part = "a parte 'xl/worksheets/sheet1.xml'";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {zip, ""},
        {changed("<row r=\"2\">", "<row r=\"2\"<", false),
         part + " não é XML bem formado: falta um espaço antes de um atributo"},
        {changed("texto", "textO", true), part + " está danificada"},
    };
    for (const auto& [contents, problem] : cases) {
        EXPECT_EQ(problemOf(contents), problem);
    }
}

}  // namespace
}  // namespace talvers
