#include "random.h"

#include <chrono>

namespace lumidor {

namespace {

// PCG32 (O'Neill): small state, good statistics, identical on every platform.
struct TPcg32 {
    std::uint64_t State = 0x853c49e6748fea9bULL;
    std::uint64_t Increment = 0xda3e39cb94b95bdbULL;

    std::uint32_t Next() {
        const std::uint64_t old = State;
        State = old * 6364136223846793005ULL + Increment;
        const auto xorShifted = std::uint32_t(((old >> 18u) ^ old) >> 27u);
        const auto rotation = std::uint32_t(old >> 59u);
        return (xorShifted >> rotation) | (xorShifted << ((32u - rotation) & 31u));
    }
};

TPcg32 generator;

} // namespace

void SeedRandom(std::uint64_t seed) {
    generator.State = 0;
    generator.Increment = (0xda3e39cb94b95bdbULL << 1u) | 1u;
    generator.Next();
    generator.State += seed;
    generator.Next();
}

void SeedRandomFromClock() {
    SeedRandom(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
}

float R() {
    // 24 random bits fill a float's mantissa exactly, so the result is never 1.
    return float(generator.Next() >> 8) * (1.0f / 16777216.0f);
}

std::int32_t Random(std::int32_t n) {
    if (n <= 0) return 0;
    return std::int32_t((std::uint64_t(generator.Next()) * std::uint64_t(n)) >> 32u);
}

TRandomState SaveRandom() {
    return TRandomState{generator.State, generator.Increment};
}

void RestoreRandom(const TRandomState& state) {
    generator.State = state.State;
    generator.Increment = state.Increment;
}

} // namespace lumidor
