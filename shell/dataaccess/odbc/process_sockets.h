#pragma once
// The sockets the process has open, for the connection watchdog (odbc_connect_watchdog.h),
// and shutting one down. Linux lists them from /proc/self/fd (process_sockets_posix.cpp);
// Windows has no way to list a process's sockets that a driver opened, so there the list is
// empty and the watchdog only tells the time (process_sockets_win32.cpp).
#include <vector>

namespace talvers {

struct ProcessSocket {
    int descriptor;          // what shutDownSocket takes
    unsigned long identity;  // unchanged while the socket lives, even if its number is reused
    bool network;            // an IPv4 or IPv6 socket (not a local one)
};

std::vector<ProcessSocket> processSockets();

// Ends both directions of the socket's traffic; the socket stays its owner's to close.
void shutDownSocket(int descriptor);

}  // namespace talvers
