#pragma once
// What an orders-by-supplier run is asked for: the customer order lines dated on or after
// startDate. The window and the command line both start from defaults().
#include "shell/dataaccess/date_time.h"

namespace talvers {

struct OrdersBySupplierRequest {
    DateTime startDate;

    bool operator==(const OrdersBySupplierRequest&) const = default;

    // One calendar year before today.
    static OrdersBySupplierRequest defaults(const DateTime& today) {
        return {today.dateOnly().oneYearEarlier()};
    }
};

}  // namespace talvers
