#include "shell/workbook/sheet_readback.h"

#include <charconv>
#include <cmath>

#include "shell/files/stop_request.h"

namespace talvers {
namespace {

constexpr std::uint32_t kMaxRow = 1048576;
constexpr std::uint32_t kMaxColumn = 16384;

// The names here are one or a few letters: compared in place, not through memcmp, as a
// sheet has millions of them.
bool is(std::string_view name, std::string_view literal) {
    if (name.size() != literal.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != literal[i]) return false;
    }
    return true;
}

std::string_view attribute(std::span<const XmlAttribute> attributes, std::string_view name) {
    for (const XmlAttribute& a : attributes) {
        if (is(a.name, name)) return a.value;
    }
    return {};
}

// "123" as a number from 1 to `max`, or 0.
std::uint32_t positive(std::string_view digits, std::uint32_t max) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value > max) return 0;
    return value;
}

// The column (1-based) and row of a reference like "AB12", or {0, 0}.
std::pair<std::uint32_t, std::uint32_t> cellReference(std::string_view reference) {
    std::uint32_t column = 0;
    size_t at = 0;
    while (at < reference.size() && at < 3 && reference[at] >= 'A' && reference[at] <= 'Z') {
        column = column * 26 + static_cast<std::uint32_t>(reference[at] - 'A' + 1);
        ++at;
    }
    if (at == 0 || column > kMaxColumn) return {0, 0};
    return {column, positive(reference.substr(at), kMaxRow)};
}

bool isNumber(std::string_view text) {
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(number);
}

}  // namespace

void SheetReadBack::fail(std::string problem) {
    if (problem_.empty()) problem_ = std::move(problem);
}

void SheetReadBack::startElement(std::string_view name, std::span<const XmlAttribute> attributes) {
    if (!problem_.empty()) return;
    if (!inData_) {
        inData_ = is(name, "sheetData");
        return;
    }
    if (inCell_) {
        if (is(name, "v") && !inInlineString_) {
            capture_ = Capture::Value;
        } else if (is(name, "is")) {
            inInlineString_ = true;
        } else if (is(name, "t") && inInlineString_) {
            capture_ = Capture::Text;
        } else {
            fail("tem na linha " + std::to_string(row_) + " uma célula com um elemento <" +
                 std::string(name) + ">, que o programa não escreve");
        }
        return;
    }
    if (is(name, "c")) {
        startCell(attributes);
    } else if (is(name, "row")) {
        const std::uint32_t row = positive(attribute(attributes, "r"), kMaxRow);
        if (row <= row_) {
            fail("tem as linhas fora de ordem depois da linha " + std::to_string(row_));
        }
        row_ = row;
        column_ = 0;
    } else {
        fail("tem um elemento <" + std::string(name) + "> entre as linhas");
    }
}

void SheetReadBack::startCell(std::span<const XmlAttribute> attributes) {
    const auto [column, row] = cellReference(attribute(attributes, "r"));
    if (row == 0 || row != row_ || column <= column_) {
        fail("tem uma célula fora do lugar na linha " + std::to_string(row_));
        return;
    }
    column_ = column;
    type_.assign(attribute(attributes, "t"));
    inCell_ = true;
    hasValue_ = false;
    hasText_ = false;
    value_.clear();
}

void SheetReadBack::text(std::string_view text) {
    if (capture_ != Capture::None) value_.append(text);
}

void SheetReadBack::endElement(std::string_view name) {
    if (!problem_.empty() || !inData_) return;
    if (capture_ != Capture::None) {
        (capture_ == Capture::Value ? hasValue_ : hasText_) = true;
        capture_ = Capture::None;
    } else if (inCell_ && is(name, "is")) {
        inInlineString_ = false;
    } else if (inCell_) {
        endCell();
    } else if (is(name, "row")) {
        throwIfWriteStopped(progress_);
    } else if (is(name, "sheetData")) {
        inData_ = false;
    }
}

void SheetReadBack::endCell() {
    inCell_ = false;
    CellKind kind = CellKind::Blank;
    if (is(type_, "inlineStr")) {
        kind = CellKind::Text;
        if (hasValue_) fail("tem uma célula de texto com valor na linha " + std::to_string(row_));
    } else if (type_.empty() || is(type_, "n")) {
        kind = hasValue_ ? CellKind::Number : CellKind::Blank;
        if (hasText_ || (hasValue_ && !isNumber(value_))) {
            fail("tem um número inválido na linha " + std::to_string(row_));
        }
    } else {
        fail("tem uma célula do tipo '" + type_ + "' na linha " + std::to_string(row_) +
             ", que o programa não escreve");
    }
    if (problem_.empty()) digest_.add(row_ - 1, column_ - 1, kind, value_);
}

}  // namespace talvers
