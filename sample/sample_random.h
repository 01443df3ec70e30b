#pragma once
// SampleRandom: the sample generator's only source of chance. The engine is std::mt19937_64,
// whose output the standard fixes; the distributions are our own, because the standard
// library's distributions may differ between implementations and the same seed must give the
// same database everywhere.
#include <cstdint>
#include <iterator>
#include <random>

namespace talvers {

class SampleRandom {
  public:
    explicit SampleRandom(std::uint64_t seed) : engine_(seed) {}

    // Uniform in [0, bound); bound must be above 0.
    std::uint64_t below(std::uint64_t bound);
    // Uniform in [low, high], both included; low must not exceed high.
    std::int64_t between(std::int64_t low, std::int64_t high);
    // True with the given chance in percent (0 never, 100 always).
    bool percent(int chance) { return below(100) < static_cast<std::uint64_t>(chance); }

    template <class Container>
    const auto& pick(const Container& items) {
        return items[below(std::size(items))];
    }

  private:
    std::mt19937_64 engine_;
};

}  // namespace talvers
