#pragma once
// Reads a written workbook back through the independent reader (tests/support/xlsx_reader.py, run
// with the Python that has openpyxl) so that tests check the file as another program sees
// it, not through our own writer's code.
//
//   const XlsxDump dump = dumpWorkbook(path);
//   EXPECT_EQ(dump.cell("Folha", "A4").value, " 2024-05-13");
//   EXPECT_EQ(dump.cell("Folha", "G4").fill, "FF7ACDF6");
//
// The Python and the reader are taken from TALVERS_PYTHON and TALVERS_SOURCE_DIR (set by
// CTest), else from the values found when the build was configured. dumpWorkbook throws
// std::runtime_error when the reader cannot read the file. Asking for a sheet the workbook
// lacks throws std::out_of_range.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace talvers::testing {

struct XlsxCell {
    std::string type;   // "s" text, "n" number, "d" date-time, "b" boolean, "" no value
    std::string value;  // numbers in their shortest exact form ("1234.5678", "1234")
    bool bold = false;
    double fontSize = 0;
    std::string fontColor;  // "FFFFFFFF", "theme:1", ...
    // Solid fill colour, "" without a fill. The reader sees the format of a merged range on
    // its first cell only.
    std::string fill;
    std::string numberFormat = "General";
    std::string horizontal;  // "center", ... or ""
    bool exists = false;     // false: the file holds no such cell

    double number() const;  // the value as a number (the test fails on a non-number)
};

class XlsxDump {
  public:
    std::vector<std::string> sheetNames() const { return sheetOrder_; }
    // "A1" style references; a cell the file does not hold reads as an empty XlsxCell.
    const XlsxCell& cell(const std::string& sheet, const std::string& ref) const;
    const XlsxCell& cell(const std::string& sheet, int row, int column) const;  // 1-based
    std::vector<std::string> merges(const std::string& sheet) const;            // e.g. "A1:C1"
    // The width as stored in the file: the spreadsheet stores a width set to w as about
    // w + 0.71 (15 -> 15.7109375); 0 when the column has no width of its own.
    double columnWidth(const std::string& sheet, const std::string& column) const;
    std::string columnNumberFormat(const std::string& sheet, const std::string& column) const;
    int maxRow(const std::string& sheet) const;
    int maxColumn(const std::string& sheet) const;
    std::string freezePane(const std::string& sheet) const;  // top-left scrolling cell, "A4"
    std::string autoFilter(const std::string& sheet) const;  // "A3:C3" or ""

    // Fills a dump from the reader's output lines.
    static XlsxDump parse(const std::string& readerOutput);

  private:
    struct Column {
        double width = 0;
        std::string numberFormat;
    };
    struct Sheet {
        int maxRow = 0;
        int maxColumn = 0;
        std::string freezePane;
        std::string autoFilter;
        std::vector<std::string> merges;
        std::map<std::string, Column> columns;
        std::map<std::string, XlsxCell> cells;
    };
    const Sheet& sheet(const std::string& name) const;

    std::vector<std::string> sheetOrder_;
    std::map<std::string, Sheet> sheets_;
};

XlsxDump dumpWorkbook(const std::filesystem::path& workbook);

// "A1" for row 1, column 1.
std::string cellRef(int row, int column);

}  // namespace talvers::testing
