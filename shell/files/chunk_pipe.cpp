#include "shell/files/chunk_pipe.h"

namespace talvers {

bool ChunkPipe::put(Chunk chunk) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || waiting_.size() < kMostWaiting; });
    if (stopped_) return false;
    waiting_.push_back(std::move(chunk));
    changed_.notify_all();
    return true;
}

void ChunkPipe::close(std::exception_ptr failure) {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    failure_ = std::move(failure);
    changed_.notify_all();
}

bool ChunkPipe::take(Chunk& chunk) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return closed_ || !waiting_.empty(); });
    if (!waiting_.empty()) {
        chunk = std::move(waiting_.front());
        waiting_.pop_front();
        changed_.notify_all();
        return true;
    }
    if (failure_) std::rethrow_exception(failure_);
    return false;
}

void ChunkPipe::stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

}  // namespace talvers
