#include "shell/cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace talvers {

std::string flushStandardOutput() {
    errno = 0;
    std::cout.flush();
    const bool streamFailed = !std::cout;
    const bool flushFailed = std::fflush(stdout) != 0;
    const int error = errno;
    if (!streamFailed && !flushFailed && !std::ferror(stdout)) return {};
    // Reported once: a later check sees only what is written after this one.
    std::clearerr(stdout);
    std::cout.clear();
    return error != 0 ? std::strerror(error) : "erro de escrita";
}

}  // namespace talvers
