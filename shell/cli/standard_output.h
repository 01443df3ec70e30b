#pragma once
// Whether what a program wrote to its standard output got there. Writes to stdout are
// buffered, so a full disk or a closed pipe shows only when the buffer is flushed; a program
// that printed its answer must flush and ask before it exits with 0.
#include <string>

namespace talvers {

// Flushes std::cout and stdout. Returns "" when everything written reached the output,
// otherwise the reason it did not ("No space left on device"), once: the error is cleared.
std::string flushStandardOutput();

}  // namespace talvers
