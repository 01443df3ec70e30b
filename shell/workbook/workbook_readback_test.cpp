// The read-back proves a finished workbook holds exactly what was handed to the library: a
// workbook as written passes, and each way a file can differ from it — rows or cells missing,
// added or moved, values changed, kinds the writer never uses, a sheet missing or cut — is
// found and named.
#include "shell/workbook/workbook_readback.h"

#include <gtest/gtest.h>

#include "shell/files/open_file.h"
#include "shell/workbook/workbook_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/zip_parts.h"

namespace talvers {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::ZipParts;

Table mixedRows() {
    Table table({{"Texto", FieldType::Text, 20},
                 {"Valor", FieldType::Money, 8},
                 {"Quant.", FieldType::Integer, 4},
                 {"Taxa", FieldType::Double, 8}});
    const double rates[] = {0.1 + 0.2, 1.5e20, -0.0, 1.0 / 3, 12345678901234567.0, 1e-7};
    for (int i = 0; i < 6; ++i) {
        table.addRow({i == 1 ? Value() : Value(" linha " + std::to_string(i) + " & <" + "\r"),
                      Money::fromTicks(12345678LL * (i + 1)), Value(i == 2 ? Value() : Value(i)),
                      rates[i]});
    }
    return table;
}

// `xml` with the first `from` replaced by `to`; the test fails when there is none.
std::string replaced(std::string xml, const std::string& from, const std::string& to) {
    const size_t at = xml.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) xml.replace(at, from.size(), to);
    return xml;
}

// `xml` without the element that starts with `start` (up to its end tag `end`).
std::string without(const std::string& xml, const std::string& start, const std::string& end) {
    const size_t from = xml.find(start);
    const size_t to = xml.find(end, from);
    EXPECT_NE(to, std::string::npos) << start;
    return to == std::string::npos ? xml : xml.substr(0, from) + xml.substr(to + end.size());
}

TEST(WorkbookReadBack, AWrittenWorkbookPassesAndEveryDifferenceFromItIsFound) {
    TempDir dir;
    const fs::path written = dir / "escrito.xlsx";
    const std::vector<std::string> names = {"Folha", "Outra"};
    const std::vector<SheetDigest> digests = writeWorkbookFile(
        written.string(), dir.path().string(), "escrito", names, {"T1", "T2"}, mixedRows(), {});
    ASSERT_EQ(workbookProblem(*openFileForReading(written), digests, names), "");

    const ZipParts parts = testing::zipParts(written);
    const auto sheet = [&](const std::string& name) {
        for (const auto& part : parts) {
            if (part.first == name) return part.second;
        }
        return std::string();
    };
    const std::string xml = sheet("xl/worksheets/sheet1.xml");
    ASSERT_NE(xml.find("<v>1234.5678</v>"), std::string::npos) << xml;
    const std::string rows = "a folha 'Folha' tem ";
    const std::string values = "a folha 'Folha' tem células sem os valores que foram escritos";
    const std::vector<std::pair<std::string, std::string>> changes = {
        {xml, ""},
        {without(xml, "<row r=\"6\"", "</row>"), rows + "7 linhas com células em vez de 8"},
        {replaced(xml, "</sheetData>",
                  "<row r=\"99\"><c r=\"A99\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
                  "</sheetData>"),
         rows + "9 linhas com células em vez de 8"},
        {xml.substr(0, xml.find("<row r=\"7\"")) + "</sheetData></worksheet>",
         rows + "5 linhas com células em vez de 8"},
        {without(xml, "<c r=\"C6\"", "/>"), rows + "31 células em vez de 32"},
        {replaced(xml, " linha 3 ", " linha 8 "), values},
        {replaced(xml, "<v>1234.5678</v>", "<v>1234.5679</v>"), values},
        {replaced(xml, "_x000D_", "&#13;"), values},
        {replaced(xml, "<c r=\"A5\" s=\"3\"/>", "<c r=\"A5\" s=\"3\"><v>0</v></c>"), values},
        {replaced(xml, "<v>1234.5678</v>", "<v>1234,5678</v>"),
         "a folha 'Folha' tem um número inválido na linha 4"},
        {replaced(xml, "<c r=\"C4\"", "<c r=\"A4\""),
         "a folha 'Folha' tem uma célula fora do lugar na linha 4"},
        {replaced(
             xml,
             "t=\"inlineStr\"><is><t xml:space=\"preserve\"> linha 0 &amp; &lt;_x000D_</t></is>",
             "t=\"s\"><v>0</v>"),
         "a folha 'Folha' tem uma célula do tipo 's' na linha 4, que o programa não escreve"},
        {replaced(xml, "</sheetData>", ""),
         "a parte 'xl/worksheets/sheet1.xml' não é XML bem formado: </worksheet> fecha "
         "<sheetData>"},
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        const auto& [changed, problem] = changes[i];
        SCOPED_TRACE(i);
        ZipParts copy = parts;
        for (auto& part : copy) {
            if (part.first == "xl/worksheets/sheet1.xml") part.second = changed;
        }
        const fs::path file = dir / ("mudado" + std::to_string(i) + ".xlsx");
        testing::writeText(file, testing::storedZip(copy));
        EXPECT_EQ(workbookProblem(*openFileForReading(file), digests, names), problem);
    }

    ZipParts oneSheet;
    for (const auto& part : parts) {
        if (part.first != "xl/worksheets/sheet2.xml") oneSheet.push_back(part);
    }
    testing::writeText(dir / "uma.xlsx", testing::storedZip(oneSheet));
    EXPECT_EQ(workbookProblem(*openFileForReading(dir / "uma.xlsx"), digests, names),
              "falta a folha 'Outra'");
}

}  // namespace
}  // namespace talvers
