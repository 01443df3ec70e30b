#include "reports/lookup/distinct_keys.h"

namespace talvers {

void DistinctKeys::add(LookupKey key) {
    const auto [at, isNew] =
        positions_.try_emplace(std::move(key), static_cast<std::uint32_t>(keys_.size()));
    if (isNew) keys_.push_back(at->first);
    rowKeys_.push_back(at->second);
}

}  // namespace talvers
