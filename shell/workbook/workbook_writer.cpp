#include "shell/workbook/workbook_writer.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <new>

#include "shell/dataaccess/text_utils.h"
#include "shell/files/safe_replace.h"
#include "shell/files/scratch_folder.h"
#include "shell/files/stop_request.h"
#include "shell/workbook/workbook_failure.h"
#include "shell/workbook/workbook_file.h"
#include "shell/workbook/workbook_readback.h"

namespace talvers {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxSheetNameChars = 31;

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

constexpr const char* kBuiltName = "livro.xlsx";

void copyInto(SafeReplace& replace, OpenFile& from) {
    std::vector<unsigned char> chunk(1 << 20);
    const std::uint64_t size = from.size();
    for (std::uint64_t at = 0; at < size;) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
        from.readAt(at, chunk.data(), count);
        replace.write(std::string_view(reinterpret_cast<const char*>(chunk.data()), count));
        at += count;
    }
}

void writeFile(const std::vector<std::string>& sheetNames,
               const std::vector<std::string>& sheetTitles, const std::string& fileName,
               const Table& rows, const WorkbookProperties& properties,
               const std::vector<fs::path>& protectedFiles, WorkbookProgress* progress) {
    checkSheetArguments(sheetNames, sheetTitles);
    // The private folder and the new file exist before any row is written, so that a target
    // or a folder that cannot take them fails at once rather than after the whole table. The
    // library's own temporaries, many times the workbook's size, go to a private folder of the
    // system's temporary folder: beside the target only the finished workbook needs room.
    SafeReplace replace(fileName, protectedFiles);
    ScratchFolder scratch;
    // The library writes its zip with seeks back into it, which some file systems of sticks and
    // shares do not take (FAT through FUSE): it is built there too, and then copied to the
    // target in one stream of our own, each write checked.
    const std::unique_ptr<OpenFile> built = scratch.createFile(kBuiltName);
    const auto likelyCause = [&replace, &scratch] {
        const std::string cause = replace.likelyCause();
        return cause.empty() ? scratch.likelyCause() : cause;
    };
    std::vector<SheetDigest> written;
    try {
        written = writeWorkbookFile(scratch.pathForLibrary(kBuiltName), scratch.pathForLibrary(),
                                    fileName, sheetNames, sheetTitles, rows, properties, progress);
    } catch (const XlsxLibraryFailure& failure) {
        // The library's own failures (of its zip writer above all) do not say why.
        const std::string cause = likelyCause();
        if (cause.empty()) throw;
        throw WorkbookFailure(failure.number(),
                              "Não foi possível gravar o ficheiro '" + fileName + "': " + cause);
    }
    copyInto(replace, *built);
    // The library does not report every short write: only a file read back whole, holding
    // every row and cell that was written, may replace the target.
    const std::string problem =
        workbookProblem(replace.contents(), written, sheetNames, progress);
    if (!problem.empty()) {
        const std::string cause = likelyCause();
        throw WorkbookFailure(EIO, "Não foi possível gravar o ficheiro '" + fileName +
                                       "': o ficheiro gravado ficou incompleto (" +
                                       (cause.empty() ? "disco cheio, quota esgotada ou limite "
                                                        "de tamanho?"
                                                      : cause) +
                                       "): " + problem);
    }
    // The last chance to abandon before the old file is replaced.
    throwIfWriteStopped(progress);
    replace.commit();
}

}  // namespace

bool writeWorkbook(const std::vector<std::string>& sheetNames,
                   const std::vector<std::string>& sheetTitles, const std::string& fileName,
                   const Table& rows, MessagePresenter& messages,
                   const WorkbookProperties& properties,
                   const std::vector<std::filesystem::path>& protectedFiles,
                   WorkbookProgress* progress) {
    try {
        writeFile(sheetNames, sheetTitles, fileName, rows, properties, protectedFiles, progress);
        return true;
    } catch (const StopRequested& stop) {
        showFailure(messages,
                    "Não foi possível gravar o ficheiro '" + fileName + "': " + stop.description(),
                    stop.number());
    } catch (const NumberedError& failure) {
        showFailure(messages, failure.description(), failure.number());
    } catch (const std::bad_alloc&) {
        showFailure(messages, "Memória insuficiente", LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    return false;
}

}  // namespace talvers
