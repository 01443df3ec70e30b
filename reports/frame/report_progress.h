#pragma once
// The progress protocol every report engine follows: after each row (or article) it tells the
// sink its position and the count, like "17/250" on the window's label. A sink may ask the run
// to stop; the engine then throws ReportCancelled and nothing is written.
#include <stdexcept>

namespace talvers {

class ReportProgress {
  public:
    virtual ~ReportProgress() = default;
    // position counts from 1; count is the total of the loop being run.
    virtual void advance(long position, long count) = 0;
    virtual bool cancelRequested() const { return false; }
};

class NullProgress : public ReportProgress {
  public:
    void advance(long, long) override {}
};

class ReportCancelled : public std::runtime_error {
  public:
    ReportCancelled() : std::runtime_error("Operação interrompida.") {}
};

// Tells the sink and stops the run when the sink asked for it.
inline void reportProgress(ReportProgress& progress, long position, long count) {
    progress.advance(position, count);
    if (progress.cancelRequested()) throw ReportCancelled();
}

}  // namespace talvers
