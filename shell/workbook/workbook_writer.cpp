#include "shell/workbook/workbook_writer.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

#include "shell/dataaccess/text_utils.h"
#include "shell/files/safe_replace.h"
#include "shell/files/zip_check.h"
#include "shell/workbook/workbook_failure.h"
#include "shell/workbook/workbook_formats.h"
#include "shell/workbook/workbook_sheet.h"
#include "version.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxSheetNameChars = 31;

// A workbook dropped before it was closed: freeing it does not close the sheets' streams,
// whose deleted temporary files would keep their disk space until the program exits.
struct WorkbookFree {
    void operator()(lxw_workbook* workbook) const {
        lxw_worksheet* sheet = nullptr;
        STAILQ_FOREACH(sheet, workbook->worksheets, list_pointers) {
            if (sheet->optimize_tmpfile) std::fclose(sheet->optimize_tmpfile);
            sheet->optimize_tmpfile = nullptr;
        }
        lxw_workbook_free(workbook);
    }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookFree>;

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
        throw WorkbookFailure(LXW_ERROR_PARAMETER_VALIDATION,
                              "Não foi indicada nenhuma folha para o ficheiro");
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) {
            throw WorkbookFailure(LXW_ERROR_PARAMETER_VALIDATION,
                                  "Nome de folha inválido: o nome está vazio");
        }
        throwIfXlsxError(sheetNameError(names, i), "Nome de folha inválido: '" + names[i] + "'");
    }
    if (titles.size() < names.size()) {
        throw WorkbookFailure(LXW_ERROR_PARAMETER_VALIDATION,
                              "Falta o título da folha '" + names[titles.size()] + "'");
    }
}

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
               const Table& rows, const WorkbookProperties& properties,
               const std::vector<fs::path>& protectedFiles) {
    checkSheetArguments(sheetNames, sheetTitles);
    // The temporary file exists before any row is written, so that a target or a folder that
    // cannot take it fails at once rather than after the whole table.
    SafeReplace replace(fileName, protectedFiles);

    // Streaming the rows through the library's temporary files keeps memory flat however
    // many rows a report has. Those files go beside the target, so that the space they need
    // is checked where the workbook goes.
    std::string tempFolder = replace.folder().string();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tempFolder.data();
    WorkbookPtr workbook(workbook_new_opt(replace.temporaryPath().c_str(), &options));
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
    // The library does not report every short write while it zips: only a file read back
    // whole may replace the target.
    const std::string problem = zipFileProblem(replace.descriptor());
    if (!problem.empty()) {
        throw WorkbookFailure(EIO, "Não foi possível gravar o ficheiro '" + fileName +
                                       "': o ficheiro gravado ficou incompleto (disco cheio ou "
                                       "limite de tamanho?): " +
                                       problem);
    }
    replace.commit();
}

}  // namespace

bool writeWorkbook(const std::vector<std::string>& sheetNames,
                   const std::vector<std::string>& sheetTitles, const std::string& fileName,
                   const Table& rows, MessagePresenter& messages,
                   const WorkbookProperties& properties,
                   const std::vector<std::filesystem::path>& protectedFiles) {
    try {
        writeFile(sheetNames, sheetTitles, fileName, rows, properties, protectedFiles);
        return true;
    } catch (const NumberedError& failure) {
        showFailure(messages, failure.description(), failure.number());
    } catch (const std::bad_alloc&) {
        showFailure(messages, "Memória insuficiente", LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return false;
}

}  // namespace talvers
