#pragma once
// One client connection of tds-double, served on its own thread from the pre-login to the
// client's goodbye: PRELOGIN answered "encryption not supported", LOGIN7 checked against the
// one user and password, then each SQL batch answered (batch_answerer.h) with its result's
// tokens, the faults the options ask for on the way (rows trickled, a result ending in an
// error, the connection dropped). An ATTENTION stops the rows being sent and is answered with
// DONE. Malformed input closes the connection with a line on stderr; nothing a client sends
// ends the program.
#include <atomic>

#include "tests/tds_double/batch_trace.h"
#include "tests/tds_double/double_catalogs.h"
#include "tests/tds_double/double_options.h"

namespace talvers {

struct DoubleShared {
    const DoubleOptions& options;
    DoubleCatalogs& catalogs;
    BatchTrace* trace = nullptr;  // null: no --trace
    const std::atomic<bool>& stopping;
};

// Serves the connection on `socket` until it ends; closes nothing (the caller owns it).
void serveTdsConnection(int socket, DoubleShared& shared);

}  // namespace talvers
