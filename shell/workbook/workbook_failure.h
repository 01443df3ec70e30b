#pragma once
// A failure while writing a workbook, carrying what the failure message shows: a description
// in Portuguese and a number (a libxlsxwriter error code, or the system's error number for a
// file-system failure).
#include <string>
#include <string_view>

#include <xlsxwriter.h>

#include "shell/messages/numbered_error.h"

namespace talvers {

class WorkbookFailure : public NumberedError {
  public:
    using NumberedError::NumberedError;
};

// A failure the workbook library reported by its own error code, which often does not say
// why (a failed write inside its zip writer says nothing of a full disk).
class XlsxLibraryFailure : public WorkbookFailure {
  public:
    using WorkbookFailure::WorkbookFailure;
};

// Throws an XlsxLibraryFailure "<context>: <reason>" numbered `error` unless it is
// LXW_NO_ERROR.
void throwIfXlsxError(lxw_error error, std::string_view context);

// The reason text users see for a libxlsxwriter error.
std::string xlsxErrorReason(lxw_error error);

}  // namespace talvers
