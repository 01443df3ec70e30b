#pragma once
// A failure while writing a workbook, carrying what the failure message shows: a description
// in Portuguese and a number (a libxlsxwriter error code, or the system's error number for a
// file-system failure).
#include <stdexcept>
#include <string>
#include <string_view>

#include <xlsxwriter.h>

namespace talvers {

class WorkbookFailure : public std::runtime_error {
  public:
    WorkbookFailure(const std::string& description, long number)
        : std::runtime_error(description), number_(number) {}
    long number() const { return number_; }

  private:
    long number_;
};

// Throws a WorkbookFailure "<context>: <reason>" numbered `error` unless it is LXW_NO_ERROR.
void throwIfXlsxError(lxw_error error, std::string_view context);

// The reason texts users see for a libxlsxwriter error and for a system error number.
std::string xlsxErrorReason(lxw_error error);
std::string fileErrorReason(int errorNumber);
// The reason for a failure to use the folder a file goes into: missing, not a folder, no
// permission, a read-only disk, a full disk or quota, a file-size limit.
std::string folderErrorReason(int errorNumber);

}  // namespace talvers
