#pragma once
// FileError: a file the program writes cannot be written or may not be replaced. The
// description names the file and the reason in Portuguese; the number is the system's error
// number.
#include <string>

#include "shell/messages/numbered_error.h"

namespace talvers {

class FileError : public NumberedError {
  public:
    using NumberedError::NumberedError;
};

// The reason texts users see for a system error number.
std::string fileErrorReason(int errorNumber);
// The reason for a failure to use the folder a file goes into: missing, not a folder, no
// permission, a read-only disk, a full disk or quota, a file-size limit.
std::string folderErrorReason(int errorNumber);

}  // namespace talvers
