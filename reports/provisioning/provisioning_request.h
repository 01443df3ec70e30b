#pragma once
// What a provisioning run is asked for: the sales from firstDate to lastDate (whole days), and
// the filters the alternate variant applies. The window and the command line both start from
// defaults().
#include <string>

#include "shell/dataaccess/date_time.h"

namespace talvers {

struct ProvisioningRequest {
    DateTime firstDate;
    DateTime lastDate;
    std::string warehouse;  // read by neither variant's query: the warehouses are fixed
    std::string group;      // alternate variant only, when not empty
    std::string family;     // alternate variant only, when not empty

    bool operator==(const ProvisioningRequest&) const = default;

    // From 1 January of today's year to today, every group and family.
    static ProvisioningRequest defaults(const DateTime& today) {
        return {{today.year, 1, 1}, today.dateOnly(), "", "", ""};
    }
};

}  // namespace talvers
