#pragma once
// Ends a command-line run cleanly on an interrupt (Ctrl-C) or a termination request: outside
// a write at once, with a message on stderr and status 128 + the signal (130, 143); during a
// write the request is recorded (stop_request.h) and the write stops at its next safe point,
// after which the program reports it and ends with the same status.
namespace talvers {

// Installs the handlers for SIGINT and SIGTERM (on systems that have them).
void installStopSignals();

// A write past the process's file-size limit (ulimit -f) fails with EFBIG, to be told as any
// other failure, instead of killing the program without a word (SIGXFSZ, where it exists).
void ignoreFileSizeLimitSignal();

}  // namespace talvers
