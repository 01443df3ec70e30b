#include "shell/workbook/workbook_file.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

#include "shell/workbook/workbook_failure.h"
#include "shell/workbook/workbook_formats.h"
#include "shell/workbook/workbook_sheet.h"
#include "version.h"

namespace talvers {
namespace {

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

}  // namespace

std::vector<SheetDigest> writeWorkbookFile(
    const std::string& path, const std::string& temporaryFolder, const std::string& displayName,
    const std::vector<std::string>& sheetNames, const std::vector<std::string>& sheetTitles,
    const Table& rows, const WorkbookProperties& properties, WorkbookProgress* progress) {
    // Streaming the rows through the library's temporary files keeps memory flat however
    // many rows a report has. The library creates each one exclusively in `temporaryFolder`
    // and removes its name at once; only when it cannot create one there does it try $TMP,
    // $TEMP and /tmp, the same way.
    std::string tempFolder = temporaryFolder;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tempFolder.data();
    WorkbookPtr workbook(workbook_new_opt(path.c_str(), &options));
    if (!workbook) {
        throwIfXlsxError(LXW_ERROR_MEMORY_MALLOC_FAILED, "Não foi possível criar o ficheiro");
    }
    setProperties(workbook.get(), sheetTitles.front(), properties);
    const WorkbookFormats formats(workbook.get());
    std::vector<SheetDigest> digests(sheetNames.size());
    const size_t rowCount = rows.rowCount();
    for (size_t i = 0; i < sheetNames.size(); ++i) {
        writeSheet(workbook.get(), formats, sheetNames[i], sheetTitles[i], rows, digests[i],
                   progress, {i * rowCount, sheetNames.size() * rowCount});
    }
    // Closing writes the file and frees the workbook, whatever its result.
    throwIfXlsxError(workbook_close(workbook.release()),
                     "Não foi possível gravar o ficheiro '" + displayName + "'");
    return digests;
}

}  // namespace talvers
