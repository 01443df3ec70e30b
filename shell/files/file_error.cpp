#include "shell/files/file_error.h"

#include <cerrno>

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
        case kQuotaExceeded:
            return "a quota de disco está esgotada";
        case EFBIG:
            return "o ficheiro excede o tamanho permitido";
        case ENAMETOOLONG:
            return "o nome é demasiado comprido para o sistema de ficheiros";
        case ELOOP:
            return "demasiadas ligações simbólicas encadeadas";
        case EIO:
            return "erro de leitura ou escrita no disco";
        case EMFILE:
        case ENFILE:
            return "há demasiados ficheiros abertos";
        case ENOMEM:
            return "memória insuficiente";
        case EBUSY:
        case ETXTBSY:
            return "o ficheiro está a ser usado pelo sistema";
        case EXDEV:
            return "o ficheiro e a pasta temporária estão em discos diferentes";
        case EINTR:
            return "a operação foi interrompida";
        case EINVAL:
            return "o sistema de ficheiros recusou a operação";
        case EEXIST:
            return "já existe um ficheiro com esse nome";
        default:
            // The system's own texts are in English; the number tells an administrator more.
            return "erro do sistema n.º " + std::to_string(errorNumber);
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
