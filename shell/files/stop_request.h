#pragma once
// A request to stop the run (an interrupt from the keyboard, a termination signal), honoured
// by the writes at their next safe point: they remove what they made, leave the old file as it
// was and fail with StopRequested. Outside a write the program may simply end.
#include <string>

#include "shell/files/file_error.h"

namespace talvers {

// The failure of a write that stopped on request; its description is the reason alone
// ("a gravação foi interrompida (SIGINT)"), for the caller to name the file.
class StopRequested : public FileError {
  public:
    using FileError::FileError;
};

// Records a request to stop because of `signal`. Safe to call from a signal handler.
void requestStop(int signal) noexcept;
// The signal of the first request, or 0.
int stopSignal() noexcept;
// Throws StopRequested when a stop was requested.
void throwIfStopRequested();
// "SIGINT", "SIGTERM", or "sinal N".
std::string signalName(int signal);
// The message for a run stopped by `signal`, e.g. "Interrompido (SIGINT)."
std::string stopMessage(int signal);
// 128 + `signal`: the status a shell gives a program ended by that signal (130, 143).
int stopStatus(int signal);

// Records that a write put its new file in place; from then on a stop request no longer undoes
// anything. Safe to read from a signal handler.
void noteFileReplaced() noexcept;
bool fileReplaced() noexcept;
// The message for a stop that arrived once the file was written, e.g. "O ficheiro foi gravado;
// a interrupção (SIGTERM) chegou depois."
std::string stopAfterWriteMessage(int signal);

// While one lives, a write is under way: a request to stop waits for its next safe point
// rather than ending the program at once.
class WriteUnderWay {
  public:
    WriteUnderWay() noexcept;
    ~WriteUnderWay();
    WriteUnderWay(const WriteUnderWay&) = delete;
    WriteUnderWay& operator=(const WriteUnderWay&) = delete;
    // Whether any write is under way. Safe to call from a signal handler.
    static bool any() noexcept;
};

}  // namespace talvers
