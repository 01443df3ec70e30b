#pragma once
// ChunkPipe: hands chunks of bytes from one thread to another, a few at a time, so that making
// the next chunk and using the last one overlap. The producer ends with close(), passing its
// failure if it had one; the consumer takes every chunk handed over before it sees that
// failure, so problems come out in the order one thread doing both would find them. A
// consumer that gives up calls stop(), after which put() refuses and returns at once.
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <vector>

namespace talvers {

class ChunkPipe {
  public:
    using Chunk = std::vector<unsigned char>;

    // Producer: waits while the consumer is a few chunks behind; false once stopped.
    bool put(Chunk chunk);
    void close(std::exception_ptr failure = nullptr);

    // Consumer: the next chunk, or false at the end; rethrows the producer's failure after the
    // chunks that came before it.
    bool take(Chunk& chunk);
    void stop();

  private:
    static constexpr size_t kMostWaiting = 4;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Chunk> waiting_;
    bool closed_ = false;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace talvers
