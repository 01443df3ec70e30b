#pragma once
// ReportRunner: runs one report engine on a worker thread, so that whoever shows the run (the
// desktop's report window) stays responsive. It owns the thread, the cancel flag and the
// latest progress; it shows nothing itself.
//
// The two notices are called on the worker thread and must only hand the news over to the
// owner's own thread (a queued call). `progressed` comes at most once until progress() has
// been read and at most every 40 ms (but always for a loop's last position), so a fast engine
// does not flood the owner with repaints and the latest count always shows.
// `finished` comes once at the end of every run, whatever its outcome; the owner then calls
// takeRows() on its own thread. Destroying a runner asks a running engine to stop and waits
// for it: an engine must not wait on the owner once cancel() was called.
#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "reports/frame/report_progress.h"
#include "shell/dataaccess/table.h"

namespace talvers {

class ReportRunner {
  public:
    using Engine = std::function<Table(ReportProgress&)>;
    using Notice = std::function<void()>;

    ReportRunner(Notice progressed, Notice finished);
    ~ReportRunner();
    ReportRunner(const ReportRunner&) = delete;
    ReportRunner& operator=(const ReportRunner&) = delete;

    // Starts `engine` on a new worker thread; refused (false) while a run's rows have not been
    // taken yet.
    bool start(Engine engine);
    bool busy() const { return busy_; }

    // Asks the engine to stop at its next progress report (it then throws ReportCancelled).
    void cancel() { cancel_ = true; }
    bool cancelled() const { return cancel_; }

    struct Position {
        long position = 0;
        long count = 0;
    };
    // The latest position the engine reported; {0, 0} before the first.
    Position progress();

    // After the finished notice: waits for the worker, ends the run and returns its rows, or
    // rethrows what the engine threw.
    Table takeRows();
    // After the finished notice: waits for the worker and ends the run, dropping its outcome.
    void discard();

  private:
    class WorkerProgress;

    Notice progressed_;
    Notice finished_;
    bool busy_ = false;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
    std::optional<Table> rows_;   // written by the worker, read after join
    std::exception_ptr failure_;  // likewise

    std::mutex progressMutex_;
    Position position_;
    std::atomic<bool> progressPending_{false};
};

}  // namespace talvers
