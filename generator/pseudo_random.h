#pragma once
// A small deterministic generator (splitmix64): the same seed gives the same sequence on
// every platform, unlike the distributions of the standard library.
#include <cstdint>

namespace kova::generator {

class PseudoRandom {
public:
    explicit PseudoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t nextWord() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform enough for test data: a value in [low, high].
    std::uint32_t between(std::uint32_t low, std::uint32_t high) {
        return low + static_cast<std::uint32_t>(nextWord() % (std::uint64_t{high} - low + 1));
    }

private:
    std::uint64_t state_;
};

}  // namespace kova::generator
