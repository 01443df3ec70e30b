#pragma once
// SheetReadBack: follows a worksheet part as the XML check reads it and builds the digest of
// the cells it holds (sheet_digest.h), as the writer built it from what it wrote: inline texts,
// numbers and blanks, in row and column order. Anything the writer never writes — shared
// strings, formulas, booleans, rich text — or a cell out of order or in the wrong row is a
// problem, and so is a number the file holds that is no number. Checks for a stop request at
// every row (also `progress`'s, when given; it must outlive the read-back).
#include <string>

#include "shell/files/xml_check.h"
#include "shell/workbook/sheet_digest.h"
#include "shell/workbook/workbook_progress.h"

namespace talvers {

class SheetReadBack : public XmlEvents {
  public:
    explicit SheetReadBack(const WorkbookProgress* progress = nullptr) : progress_(progress) {}

    void startElement(std::string_view name, std::span<const XmlAttribute> attributes) override;
    void endElement(std::string_view name) override;
    void text(std::string_view text) override;

    const SheetDigest& digest() const { return digest_; }
    // The first problem found, or "".
    const std::string& problem() const { return problem_; }

  private:
    enum class Capture { None, Value, Text };
    void startCell(std::span<const XmlAttribute> attributes);
    void endCell();
    void fail(std::string problem);

    const WorkbookProgress* progress_;
    SheetDigest digest_;
    std::string problem_;
    bool inData_ = false;
    bool inCell_ = false;
    bool inInlineString_ = false;
    std::uint32_t row_ = 0;  // 1-based, as the file numbers rows; 0 before the first
    std::uint32_t column_ = 0;
    std::string type_;
    Capture capture_ = Capture::None;
    bool hasValue_ = false;
    bool hasText_ = false;
    std::string value_;
};

}  // namespace talvers
