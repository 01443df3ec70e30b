#include "reports/frame/report_runner.h"

#include <chrono>
#include <utility>

namespace talvers {

class ReportRunner::WorkerProgress : public ReportProgress {
  public:
    explicit WorkerProgress(ReportRunner& runner) : runner_(runner) {}
    void advance(long position, long count) override {
        {
            std::lock_guard lock(runner_.progressMutex_);
            runner_.position_ = {position, count};
        }
        // A count the eye can follow: each notice repaints the owner, which costs the run the
        // time of that repaint when it comes for every row. The last row is always told.
        const auto now = std::chrono::steady_clock::now();
        if (position < count && now - lastNotice_ < kNoticeInterval) return;
        if (!runner_.progressPending_.exchange(true) && runner_.progressed_) {
            lastNotice_ = now;
            runner_.progressed_();
        }
    }
    bool cancelRequested() const override { return runner_.cancel_.load(); }

  private:
    static constexpr std::chrono::milliseconds kNoticeInterval{40};
    ReportRunner& runner_;
    std::chrono::steady_clock::time_point lastNotice_{};
};

ReportRunner::ReportRunner(Notice progressed, Notice finished)
    : progressed_(std::move(progressed)), finished_(std::move(finished)) {}

ReportRunner::~ReportRunner() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

bool ReportRunner::start(Engine engine) {
    if (busy_) return false;
    busy_ = true;
    cancel_ = false;
    rows_.reset();
    failure_ = nullptr;
    {
        std::lock_guard lock(progressMutex_);
        position_ = {};
    }
    progressPending_ = false;
    worker_ = std::thread([this, engine = std::move(engine)] {
        WorkerProgress progress(*this);
        try {
            rows_ = engine(progress);
        } catch (...) {
            failure_ = std::current_exception();
        }
        if (finished_) finished_();
    });
    return true;
}

ReportRunner::Position ReportRunner::progress() {
    progressPending_ = false;
    std::lock_guard lock(progressMutex_);
    return position_;
}

void ReportRunner::discard() {
    if (worker_.joinable()) worker_.join();
    busy_ = false;
    rows_.reset();
    failure_ = nullptr;
}

Table ReportRunner::takeRows() {
    if (worker_.joinable()) worker_.join();
    busy_ = false;
    std::exception_ptr failure = std::exchange(failure_, nullptr);
    std::optional<Table> rows = std::exchange(rows_, std::nullopt);
    if (failure) std::rethrow_exception(failure);
    return std::move(*rows);
}

}  // namespace talvers
