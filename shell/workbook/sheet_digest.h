#pragma once
// SheetDigest: what a sheet holds, small enough to keep for a report of any size: how many
// cells each row has (exactly, as runs of rows) and a 64-bit digest of every cell's row,
// column, kind and text. The writer makes one from what it hands the workbook library, the
// read-back another from the finished file; equal digests prove the file holds exactly the
// rows and cells that were written.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

enum class CellKind : unsigned char { Blank = 1, Number = 2, Text = 3 };

class SheetDigest {
  public:
    // Adds a cell: `row` and `column` 0-based, rows ascending and columns ascending within a
    // row; `text` is a text cell's text, a number cell's text as the file holds it, "" for a
    // blank. Returns false, adding nothing, for a cell out of that order.
    bool add(std::uint32_t row, std::uint32_t column, CellKind kind, std::string_view text);

    // The text the workbook library writes for a finite `number`: 16 significant digits, an
    // exponent as "E+20" (what "%.16G" gives), e.g. "1234.5678", "-0.1", "1.5E+20".
    static std::string_view numberText(double number, char (&buffer)[32]);
    // The text the workbook library writes for a text cell holding `text`: each control
    // character but tab and line feed as "_xHHHH_" ("\r" as "_x000D_"). Uses `buffer` only
    // when the text has one.
    static std::string_view libraryText(std::string_view text, std::string& buffer);

    std::uint64_t cells() const { return cells_; }
    // "" when this holds what `written` holds; otherwise what differs, in Portuguese
    // that begins "tem ...", e.g. "tem 10 linhas com células em vez de 12".
    std::string differenceFrom(const SheetDigest& written) const;

  private:
    struct RowRun {
        std::uint32_t first;
        std::uint32_t last;
        std::uint32_t cells;
        bool operator==(const RowRun&) const = default;
    };
    std::vector<RowRun> runs() const;
    void closeRow();

    std::vector<RowRun> closed_;
    std::uint64_t hash_ = 0x6a09e667f3bcc908ULL;
    std::uint64_t cells_ = 0;
    std::uint32_t row_ = 0;
    std::uint32_t column_ = 0;
    std::uint32_t cellsInRow_ = 0;  // 0: no row yet
};

}  // namespace talvers
