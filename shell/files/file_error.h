#pragma once
// FileError: a file the program writes cannot be written or may not be replaced. The
// description names the file and the reason in Portuguese; the number is the system's error
// number.
#include <cerrno>
#include <string>

#include "shell/messages/numbered_error.h"

namespace talvers {

class FileError : public NumberedError {
  public:
    using NumberedError::NumberedError;
};

// The number of an exhausted disk quota: EDQUOT where the C library has it; Windows' has none,
// and its quota error is told with Linux's number.
#ifdef EDQUOT
inline constexpr int kQuotaExceeded = EDQUOT;
#else
inline constexpr int kQuotaExceeded = 122;
#endif

// Reasons for refusing a file, told alike on every system.
inline constexpr const char* kFolderOfThatName = "existe uma pasta com esse nome";
inline constexpr const char* kNotARegularFile =
    "não é um ficheiro normal (é um dispositivo, um FIFO ou um socket)";
inline constexpr const char* kReadOnlyFile = "o ficheiro é só de leitura";
inline constexpr const char* kOtherHardLinks =
    "o ficheiro tem outros nomes (ligações físicas), que ficariam com o conteúdo antigo; "
    "escolha outro nome";
inline constexpr const char* kProgramsOwnFile =
    "é um ficheiro que o programa está a usar (base de dados ou definições) e não pode ser "
    "substituído";
inline constexpr const char* kProgramsOwnFileForLog =
    "é um ficheiro que o programa está a usar (base de dados ou definições) e não pode ser "
    "usado para o registo";

// The reason texts users see for a system error number (errno).
std::string fileErrorReason(int errorNumber);
// The reason for a failure to use the folder a file goes into: missing, not a folder, no
// permission, a read-only disk, a full disk or quota, a file-size limit.
std::string folderErrorReason(int errorNumber);

}  // namespace talvers
