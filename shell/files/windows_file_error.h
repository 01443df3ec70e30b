#pragma once
// The Windows side of FileError: a Windows error code told with the errno number and the
// Portuguese reason the POSIX side gives for the same failure, so that messages and their
// numbers read alike on both systems. A code with no counterpart keeps its own number.
#include <string>

#include "shell/files/file_error.h"

namespace talvers {

// The failure of a call on a file.
FileError windowsFileError(unsigned long error);
// The failure of a call on the folder a file goes into (folderErrorReason's texts).
FileError windowsFolderError(unsigned long error);

}  // namespace talvers
