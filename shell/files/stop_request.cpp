#include "shell/files/stop_request.h"

#include <atomic>
#include <cerrno>
#include <csignal>

namespace talvers {
namespace {

// Lock-free, so that a signal handler may touch them.
std::atomic<int> requestedSignal{0};
std::atomic<int> writesUnderWay{0};
std::atomic<bool> replaced{false};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void requestStop(int signal) noexcept {
    int none = 0;
    requestedSignal.compare_exchange_strong(none, signal);
}

int stopSignal() noexcept {
    return requestedSignal.load(std::memory_order_relaxed);
}

void throwIfStopRequested() {
    const int signal = stopSignal();
    if (signal != 0) {
        throw StopRequested(EINTR, "a gravação foi interrompida (" + signalName(signal) + ")");
    }
}

std::string signalName(int signal) {
    switch (signal) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        default:
            return "sinal " + std::to_string(signal);
    }
}

std::string stopMessage(int signal) {
    return "Interrompido (" + signalName(signal) + ").";
}

int stopStatus(int signal) {
    return 128 + signal;
}

void noteFileReplaced() noexcept {
    replaced.store(true);
}

bool fileReplaced() noexcept {
    return replaced.load();
}

std::string stopAfterWriteMessage(int signal) {
    return "O ficheiro foi gravado; a interrupção (" + signalName(signal) + ") chegou depois.";
}

WriteUnderWay::WriteUnderWay() noexcept {
    writesUnderWay.fetch_add(1);
}

WriteUnderWay::~WriteUnderWay() {
    writesUnderWay.fetch_sub(1);
}

bool WriteUnderWay::any() noexcept {
    return writesUnderWay.load() > 0;
}

}  // namespace talvers
