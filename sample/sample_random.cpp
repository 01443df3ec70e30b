#include "sample/sample_random.h"

namespace talvers {

std::uint64_t SampleRandom::below(std::uint64_t bound) {
    // Draws below the threshold would make the low remainders more likely; dropping them
    // keeps every value equally likely.
    const std::uint64_t threshold = (0 - bound) % bound;
    for (;;) {
        const std::uint64_t draw = engine_();
        if (draw >= threshold) return draw % bound;
    }
}

std::int64_t SampleRandom::between(std::int64_t low, std::int64_t high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(below(span));
}

}  // namespace talvers
