#include "shell/files/file_error.h"

#include <cerrno>
#include <cstring>

namespace talvers {

std::string fileErrorReason(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return "a pasta não existe";
        case ENOTDIR:
            return "o caminho da pasta passa por um ficheiro";
        case EISDIR:
            return "existe uma pasta com esse nome";
        case EACCES:
        case EPERM:
        case EROFS:
            return "sem permissão de escrita";
        case ENOSPC:
            return "o disco está cheio";
        case EDQUOT:
            return "a quota de disco está esgotada";
        case EFBIG:
            return "o ficheiro excede o tamanho permitido";
        default:
            return std::strerror(errorNumber);
    }
}

std::string folderErrorReason(int errorNumber) {
    switch (errorNumber) {
        case EACCES:
        case EPERM:
            return "sem permissão de escrita na pasta";
        case EROFS:
            return "sem permissão de escrita: a pasta está num disco só de leitura";
        default:
            return fileErrorReason(errorNumber);
    }
}

}  // namespace talvers
