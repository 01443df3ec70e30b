#pragma once
// The command line's side of the output step and the progress protocol: the file name comes
// from --output, nothing is opened, and progress is a live counter on stderr when stderr is a
// terminal (nothing otherwise, so logs stay clean).
#include <string>

#include "reports/frame/output/output_step.h"
#include "reports/frame/report_progress.h"

namespace talvers {

class FixedFileName : public FileNameProvider {
  public:
    explicit FixedFileName(std::string path) : path_(std::move(path)) {}
    std::string chooseFileName(std::string_view) override { return path_; }

  private:
    std::string path_;
};

class NoOpener : public FileOpener {
  public:
    bool open(const std::string&) override { return true; }
};

class ConsoleProgress : public ReportProgress {
  public:
    ConsoleProgress();
    ~ConsoleProgress() override;
    void advance(long position, long count) override;

  private:
    bool live_;
    bool shown_ = false;
};

// Exit status of a report command: 0 written, 2 no data, 1 failure. A cancelled file name
// cannot happen on the command line (--output is required) and counts as a failure.
int exitCodeFor(OutputOutcome outcome);

}  // namespace talvers
