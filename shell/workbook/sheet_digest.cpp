#include "shell/workbook/sheet_digest.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace talvers {
namespace {

// One step of the digest: a bijection of the state for each value, so two sequences of the
// same length that differ in one value always end in different states.
inline std::uint64_t mix(std::uint64_t state, std::uint64_t value) {
    state ^= value;
    state *= 0x9E3779B97F4A7C15ULL;
    return state ^ (state >> 29);
}

constexpr std::uint64_t kRowMark = 0xFFULL << 56;

}  // namespace

bool SheetDigest::add(std::uint32_t row, std::uint32_t column, CellKind kind,
                      std::string_view text) {
    if (cellsInRow_ > 0 && (row < row_ || (row == row_ && column <= column_))) return false;
    if (cellsInRow_ == 0 || row != row_) {
        closeRow();
        row_ = row;
        hash_ = mix(hash_, kRowMark | row);
    }
    column_ = column;
    ++cellsInRow_;
    ++cells_;
    // The kind, column and length first, so that no two cells' bytes run into each other.
    hash_ = mix(hash_, static_cast<std::uint64_t>(kind) << 56 |
                           static_cast<std::uint64_t>(column) << 32 | text.size());
    const char* p = text.data();
    size_t left = text.size();
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        hash_ = mix(hash_, word);
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, left);
        hash_ = mix(hash_, word);
    }
    return true;
}

void SheetDigest::closeRow() {
    if (cellsInRow_ == 0) return;
    if (!closed_.empty() && closed_.back().last + 1 == row_ &&
        closed_.back().cells == cellsInRow_) {
        closed_.back().last = row_;
    } else {
        closed_.push_back({row_, row_, cellsInRow_});
    }
    cellsInRow_ = 0;
}

std::vector<SheetDigest::RowRun> SheetDigest::runs() const {
    SheetDigest copy;
    copy.closed_ = closed_;
    copy.row_ = row_;
    copy.cellsInRow_ = cellsInRow_;
    copy.closeRow();
    return copy.closed_;
}

std::string_view SheetDigest::numberText(double number, char (&buffer)[32]) {
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 16);
    for (char* p = buffer; p < result.ptr; ++p) {
        if (*p == 'e') *p = 'E';
    }
    return {buffer, static_cast<size_t>(result.ptr - buffer)};
}

std::string_view SheetDigest::libraryText(std::string_view text, std::string& buffer) {
    const auto escaped = [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n';
    };
    auto at = std::find_if(text.begin(), text.end(), escaped);
    if (at == text.end()) return text;
    buffer.assign(text.begin(), at);
    for (; at != text.end(); ++at) {
        if (escaped(*at)) {
            char code[8];
            std::snprintf(code, sizeof code, "_x%04X_", static_cast<unsigned>(*at));
            buffer += code;
        } else {
            buffer += *at;
        }
    }
    return buffer;
}

std::string SheetDigest::differenceFrom(const SheetDigest& written) const {
    const std::vector<RowRun> found = runs();
    const std::vector<RowRun> wanted = written.runs();
    const auto rows = [](const std::vector<RowRun>& runs) {
        std::uint64_t count = 0;
        for (const RowRun& run : runs) count += run.last - run.first + 1;
        return count;
    };
    if (rows(found) != rows(wanted)) {
        return "tem " + std::to_string(rows(found)) + " linhas com células em vez de " +
               std::to_string(rows(wanted));
    }
    if (cells_ != written.cells_) {
        return "tem " + std::to_string(cells_) + " células em vez de " +
               std::to_string(written.cells_);
    }
    if (found != wanted) return "tem linhas sem as células que foram escritas";
    if (hash_ != written.hash_) return "tem células sem os valores que foram escritos";
    return {};
}

}  // namespace talvers
