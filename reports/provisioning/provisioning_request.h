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

    // Why the range cannot mean what it says ("" when it can): a first day after the last
    // would sum the sales of no day at all. The days are written by `shown` (the command line
    // writes them year first, the window day first).
    std::string rangeRefusal(std::string (DateTime::*shown)() const = &DateTime::isoDate) const {
        if (firstDate.dateOnly() <= lastDate.dateOnly()) return {};
        return "O primeiro dia das vendas (" + (firstDate.*shown)() + ") é posterior ao último (" +
               (lastDate.*shown)() + ")";
    }
    // Why the filters cannot mean what they say ("" when they can): the default variant
    // lists every article whatever its group or family.
    std::string filterRefusal(bool alternateVariant) const {
        if (alternateVariant || (group.empty() && family.empty())) return {};
        return "Os filtros de grupo e de família não se aplicam a esta empresa (a variante "
               "normal do mapa mostra todos os artigos)";
    }
};

}  // namespace talvers
