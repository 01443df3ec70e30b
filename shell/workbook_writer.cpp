#include "shell/workbook_writer.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <random>

#include "shell/dataaccess/text_utils.h"
#include "shell/workbook_failure.h"
#include "shell/workbook_formats.h"
#include "shell/workbook_sheet.h"
#include "version.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxSheetNameChars = 31;

struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

fs::path utf8Path(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string utf8Text(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

[[noreturn]] void failFile(const std::string& fileName, int errorNumber) {
    throw WorkbookFailure(
        "Não foi possível gravar o ficheiro '" + fileName + "': " + fileErrorReason(errorNumber),
        errorNumber);
}

// The spreadsheet's rules for a (non-empty) sheet name, as the library's error codes; the
// library would refuse the same names, but only after the sheets before had been written.
lxw_error sheetNameError(const std::vector<std::string>& names, size_t index) {
    const std::string& name = names[index];
    if (charCount(name) > kMaxSheetNameChars) return LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED;
    if (name.find_first_of("[]:*?/\\") != std::string::npos) {
        return LXW_ERROR_INVALID_SHEETNAME_CHARACTER;
    }
    if (name.front() == '\'' || name.back() == '\'') {
        return LXW_ERROR_SHEETNAME_START_END_APOSTROPHE;
    }
    for (size_t j = 0; j < index; ++j) {
        if (equalsIgnoringAsciiCase(name, names[j])) return LXW_ERROR_SHEETNAME_ALREADY_USED;
    }
    return LXW_NO_ERROR;
}

void checkSheetArguments(const std::vector<std::string>& names,
                         const std::vector<std::string>& titles) {
    if (names.empty()) {
        throw WorkbookFailure("Não foi indicada nenhuma folha para o ficheiro",
                              LXW_ERROR_PARAMETER_VALIDATION);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) {
            throw WorkbookFailure("Nome de folha inválido: o nome está vazio",
                                  LXW_ERROR_PARAMETER_VALIDATION);
        }
        throwIfXlsxError(sheetNameError(names, i), "Nome de folha inválido: '" + names[i] + "'");
    }
    if (titles.size() < names.size()) {
        throw WorkbookFailure("Falta o título da folha '" + names[titles.size()] + "'",
                              LXW_ERROR_PARAMETER_VALIDATION);
    }
}

// The workbook is first written beside the target under a hidden name and moved over the
// target only when complete, so a failure never leaves a half-written or missing report.
// The file is created before any row is written so that a folder that cannot take it
// fails at once rather than after the whole table.
class TempFile {
  public:
    TempFile(const fs::path& target, const std::string& fileName) : fileName_(fileName) {
        folder_ = target.parent_path();
        if (folder_.empty()) folder_ = ".";
        std::error_code ec;
        const fs::file_status folderStatus = fs::status(folder_, ec);
        if (!fs::exists(folderStatus)) failFile(fileName, ec ? ec.value() : ENOENT);
        if (!fs::is_directory(folderStatus)) failFile(fileName, ENOTDIR);
        if (fs::is_directory(fs::status(target, ec))) failFile(fileName, EISDIR);

        std::random_device random;
        do {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
            path_ = folder_ / ("." + utf8Text(target.filename()) + ".tmp-" + suffix);
        } while (fs::exists(path_, ec));
        std::FILE* file = std::fopen(path_.string().c_str(), "wb");
        if (!file) failFile(fileName, errno);
        std::fclose(file);
    }
    ~TempFile() {
        std::error_code ec;
        if (!committed_) fs::remove(path_, ec);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const fs::path& path() const { return path_; }
    const fs::path& folder() const { return folder_; }

    // Replaces the target (an existing file silently) with the finished temporary file.
    void commit(const fs::path& target) {
        std::error_code ec;
        fs::rename(path_, target, ec);
        if (ec) failFile(fileName_, ec.value());
        committed_ = true;
    }

  private:
    const std::string& fileName_;
    fs::path folder_;
    fs::path path_;
    bool committed_ = false;
};

// The library's own "application" entry is fixed, so the program names itself in a custom
// property.
void setProperties(lxw_workbook* workbook, const std::string& title,
                   const WorkbookProperties& properties) {
    std::string titleText = title;
    std::string company = properties.company;
    lxw_doc_properties document{};
    document.title = titleText.data();
    if (!company.empty()) document.company = company.data();
    throwIfXlsxError(workbook_set_properties(workbook, &document),
                     "Não foi possível gravar as propriedades do ficheiro");
    const std::string application = "Talvers " + std::to_string(TALVERS_VERSION_MAJOR) + "." +
                                    std::to_string(TALVERS_VERSION_MINOR) + "." +
                                    std::to_string(TALVERS_VERSION_PATCH);
    throwIfXlsxError(
        workbook_set_custom_property_string(workbook, "Aplicação", application.c_str()),
        "Não foi possível gravar as propriedades do ficheiro");
}

void writeFile(const std::vector<std::string>& sheetNames,
               const std::vector<std::string>& sheetTitles, const std::string& fileName,
               const Table& rows, const WorkbookProperties& properties) {
    checkSheetArguments(sheetNames, sheetTitles);
    const fs::path target = utf8Path(fileName);
    TempFile temp(target, fileName);

    // Streaming the rows through the library's temporary files keeps memory flat however
    // many rows a report has. Those files go beside the target: the library does not check
    // every write to them, but on the target's own disk a full disk also fails the final
    // write, which it does report.
    std::string tempFolder = temp.folder().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tempFolder.data();
    WorkbookPtr workbook(workbook_new_opt(temp.path().string().c_str(), &options));
    if (!workbook) {
        throwIfXlsxError(LXW_ERROR_MEMORY_MALLOC_FAILED, "Não foi possível criar o ficheiro");
    }
    setProperties(workbook.get(), sheetTitles.front(), properties);
    const WorkbookFormats formats(workbook.get());
    for (size_t i = 0; i < sheetNames.size(); ++i) {
        writeSheet(workbook.get(), formats, sheetNames[i], sheetTitles[i], rows);
    }
    // Closing writes the file and frees the workbook, whatever its result.
    throwIfXlsxError(workbook_close(workbook.release()),
                     "Não foi possível gravar o ficheiro '" + fileName + "'");
    temp.commit(target);
}

}  // namespace

bool writeWorkbook(const std::vector<std::string>& sheetNames,
                   const std::vector<std::string>& sheetTitles, const std::string& fileName,
                   const Table& rows, MessagePresenter& messages,
                   const WorkbookProperties& properties) {
    try {
        writeFile(sheetNames, sheetTitles, fileName, rows, properties);
        return true;
    } catch (const WorkbookFailure& failure) {
        showFailure(messages, failure.what(), failure.number());
    } catch (const std::bad_alloc&) {
        showFailure(messages, "Memória insuficiente", LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return false;
}

}  // namespace talvers
