// SplitMix64: a seeded generator that gives the same sequence on every
// platform, unlike the standard library's distributions, so that a run of
// random cases repeats from its seed.
#pragma once

#include <cstdint>

namespace testing_support {

class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * ((next() >> 11) * 0x1p-53); }
    // Uniform in 0 to n - 1 (n > 0).
    std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
    bool chance(std::uint32_t percent) { return below(100) < percent; }

private:
    std::uint64_t state_;
};

}  // namespace testing_support
