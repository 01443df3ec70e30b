#pragma once
// What a pending-orders run is asked for: the open order lines dated on or after startDate.
// The window and the command line both start from defaults().
#include "shell/dataaccess/date_time.h"

namespace talvers {

struct PendingOrdersRequest {
    DateTime startDate;

    bool operator==(const PendingOrdersRequest&) const = default;

    // One calendar year before today.
    static PendingOrdersRequest defaults(const DateTime& today) {
        return {today.dateOnly().oneYearEarlier()};
    }
};

}  // namespace talvers
