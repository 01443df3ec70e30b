#pragma once
// WorkbookProgress: what a workbook write tells whoever shows it, and how that one abandons
// it. The writer reports each data row it has handed to the workbook library and, at each safe
// point (every row written, every row read back, and once more before the new file replaces
// the old one), asks whether to stop. A stop ends the write as a stop request of the program
// does (stop_request.h): the temporaries go, the old file stays as it was, and the write fails
// with StopRequested. Both are called on the writing thread.
#include <cstddef>

namespace talvers {

class WorkbookProgress {
  public:
    virtual ~WorkbookProgress() = default;
    // `written` rows of `count` handed to the library; `count` adds up every sheet's rows.
    virtual void rowsWritten(size_t written, size_t count) = 0;
    virtual bool stopWanted() const = 0;
};

// At a safe point: throws StopRequested when the program was asked to stop (a signal) or
// `progress` (which may be null) wants the write to stop.
void throwIfWriteStopped(const WorkbookProgress* progress);

}  // namespace talvers
