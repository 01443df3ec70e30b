#include "shell/workbook/workbook_failure.h"

namespace talvers {

void throwIfXlsxError(lxw_error error, std::string_view context) {
    if (error == LXW_NO_ERROR) return;
    throw XlsxLibraryFailure(error, std::string(context) + ": " + xlsxErrorReason(error));
}

std::string xlsxErrorReason(lxw_error error) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "memória insuficiente";
        case LXW_ERROR_CREATING_XLSX_FILE:
            return "não foi possível criar o ficheiro";
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            return "falhou um ficheiro temporário (disco cheio?)";
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "falhou a escrita do ficheiro (disco cheio?)";
        case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
            return "tem mais de 31 caracteres";
        case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
            return "contém um dos caracteres [ ] : * ? / \\";
        case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
            return "começa ou acaba com um apóstrofo";
        case LXW_ERROR_SHEETNAME_ALREADY_USED:
            return "repete o nome de outra folha";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
            return "fora dos limites da folha";
        default:
            return lxw_strerror(error);
    }
}

}  // namespace talvers
