#include "utility/serial_set.h"

#include <algorithm>

namespace talvers {

bool SerialSet::remove(const SerialEntry& entry) {
    const auto it = std::find(entries_.begin(), entries_.end(), entry);
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

bool SerialSet::contains(const std::string& serial) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const SerialEntry& e) { return e.serial == serial; });
}

}  // namespace talvers
