#include "tests/support/xlsx_dump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace talvers::testing {
namespace {

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string setting(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return value && *value ? value : fallback;
}

const XlsxCell kNoCell;

}  // namespace

double XlsxCell::number() const {
    char* end = nullptr;
    const double result = std::strtod(value.c_str(), &end);
    if (type != "n" || end != value.c_str() + value.size()) {
        ADD_FAILURE() << "not a number: type '" << type << "' value '" << value << "'";
        return std::numeric_limits<double>::quiet_NaN();
    }
    return result;
}

XlsxDump XlsxDump::parse(const std::string& readerOutput) {
    XlsxDump dump;
    std::istringstream lines(readerOutput);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> f = splitFields(line);
        if (f[0] == "sheet" && f.size() == 6) {
            dump.sheetOrder_.push_back(f[1]);
            Sheet& sheet = dump.sheets_[f[1]];
            sheet.maxRow = std::stoi(f[2]);
            sheet.maxColumn = std::stoi(f[3]);
            sheet.freezePane = f[4];
            sheet.autoFilter = f[5];
        } else if (f[0] == "page") {
            // The print setup is the end-to-end checks' business (apps/talvers_report_test.py).
        } else if (f[0] == "merge" && f.size() == 3) {
            dump.sheets_.at(f[1]).merges.push_back(f[2]);
        } else if (f[0] == "column" && f.size() == 5) {
            dump.sheets_.at(f[1]).columns[f[2]] = {std::stod(f[3]), f[4]};
        } else if (f[0] == "cell" && f.size() == 11) {
            XlsxCell cell{f[3], f[4], f[5] == "1", std::stod(f[6]), f[7], f[8], f[9], f[10], true};
            dump.sheets_.at(f[1]).cells[f[2]] = std::move(cell);
        } else {
            throw std::runtime_error("unexpected line from the workbook reader: " + line);
        }
    }
    return dump;
}

const XlsxDump::Sheet& XlsxDump::sheet(const std::string& name) const {
    const auto it = sheets_.find(name);
    if (it == sheets_.end()) throw std::out_of_range("the workbook has no sheet '" + name + "'");
    return it->second;
}

const XlsxCell& XlsxDump::cell(const std::string& sheetName, const std::string& ref) const {
    const Sheet& s = sheet(sheetName);
    const auto it = s.cells.find(ref);
    return it == s.cells.end() ? kNoCell : it->second;
}

const XlsxCell& XlsxDump::cell(const std::string& sheetName, int row, int column) const {
    return cell(sheetName, cellRef(row, column));
}

std::vector<std::string> XlsxDump::merges(const std::string& sheetName) const {
    return sheet(sheetName).merges;
}

double XlsxDump::columnWidth(const std::string& sheetName, const std::string& column) const {
    const Sheet& s = sheet(sheetName);
    const auto it = s.columns.find(column);
    return it == s.columns.end() ? 0 : it->second.width;
}

std::string XlsxDump::columnNumberFormat(const std::string& sheetName,
                                         const std::string& column) const {
    const Sheet& s = sheet(sheetName);
    const auto it = s.columns.find(column);
    return it == s.columns.end() ? "General" : it->second.numberFormat;
}

int XlsxDump::maxRow(const std::string& sheetName) const {
    return sheet(sheetName).maxRow;
}
int XlsxDump::maxColumn(const std::string& sheetName) const {
    return sheet(sheetName).maxColumn;
}
std::string XlsxDump::freezePane(const std::string& sheetName) const {
    return sheet(sheetName).freezePane;
}
std::string XlsxDump::autoFilter(const std::string& sheetName) const {
    return sheet(sheetName).autoFilter;
}

XlsxDump dumpWorkbook(const std::filesystem::path& workbook) {
    const std::string python = setting("TALVERS_PYTHON", TALVERS_DEFAULT_PYTHON);
    const std::string sourceDir = setting("TALVERS_SOURCE_DIR", TALVERS_DEFAULT_SOURCE_DIR);
    const std::string command = shellQuoted(python) + " " +
                                shellQuoted(sourceDir + "/tests/support/xlsx_reader.py") + " " +
                                shellQuoted(workbook.string());
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run the workbook reader: " + command);
    std::string output;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    if (status != 0) {
        throw std::runtime_error("the workbook reader failed on " + workbook.string() +
                                 " (status " + std::to_string(status) + ")");
    }
    return XlsxDump::parse(output);
}

std::string cellRef(int row, int column) {
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return letters + std::to_string(row);
}

}  // namespace talvers::testing
