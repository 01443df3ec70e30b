#include "shell/workbook/workbook_readback.h"

#include <memory>

#include "shell/files/zip_check.h"
#include "shell/workbook/sheet_readback.h"

namespace talvers {
namespace {

constexpr std::string_view kSheetPrefix = "xl/worksheets/sheet";
constexpr std::string_view kSheetSuffix = ".xml";

class SheetParts : public ZipPartReader {
  public:
    SheetParts(const std::vector<SheetDigest>& written, const std::vector<std::string>& names,
               const WorkbookProgress* progress)
        : written_(written), names_(names), progress_(progress), read_(written.size()) {}

    XmlEvents* eventsFor(const std::string& part) override {
        const size_t index = sheetIndex(part);
        if (index == kNone) return nullptr;
        read_[index] = std::make_unique<SheetReadBack>(progress_);
        return read_[index].get();
    }

    std::string partProblem(const std::string& part) override {
        const size_t index = sheetIndex(part);
        if (index == kNone) return {};
        const SheetReadBack& sheet = *read_[index];
        std::string problem = sheet.problem();
        if (problem.empty()) problem = sheet.digest().differenceFrom(written_[index]);
        return problem.empty() ? problem : "a folha '" + names_[index] + "' " + problem;
    }

    std::string missingSheet() const {
        for (size_t i = 0; i < read_.size(); ++i) {
            if (!read_[i]) return "falta a folha '" + names_[i] + "'";
        }
        return {};
    }

  private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // The sheet a part holds, from "xl/worksheets/sheet<N>.xml", or kNone.
    size_t sheetIndex(std::string_view part) const {
        if (!part.starts_with(kSheetPrefix) || !part.ends_with(kSheetSuffix)) return kNone;
        const std::string_view number = part.substr(
            kSheetPrefix.size(), part.size() - kSheetPrefix.size() - kSheetSuffix.size());
        size_t index = 0;
        for (char c : number) {
            if (c < '0' || c > '9' || index > written_.size()) return kNone;
            index = index * 10 + static_cast<size_t>(c - '0');
        }
        return !number.empty() && index >= 1 && index <= written_.size() ? index - 1 : kNone;
    }

    const std::vector<SheetDigest>& written_;
    const std::vector<std::string>& names_;
    const WorkbookProgress* progress_;
    std::vector<std::unique_ptr<SheetReadBack>> read_;
};

}  // namespace

std::string workbookProblem(ByteSource& file, const std::vector<SheetDigest>& written,
                            const std::vector<std::string>& names,
                            const WorkbookProgress* progress) {
    SheetParts sheets(written, names, progress);
    const std::string problem = zipFileProblem(file, &sheets);
    return problem.empty() ? sheets.missingSheet() : problem;
}

}  // namespace talvers
