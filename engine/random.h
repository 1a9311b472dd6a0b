#pragma once

#include <cstdint>

namespace lumidor {

/// Seeds the process-wide generator; the same seed gives the same sequence of draws.
void SeedRandom(std::uint64_t seed);
/// Seeds the generator from the clock (start-up of the demo without --seed).
void SeedRandomFromClock();
/// A fresh uniform 32-bit float in [0, 1) (written R in the effect tables).
float R();
/// A uniform integer in 0 .. n - 1; 0 when n <= 0.
std::int32_t Random(std::int32_t n);

} // namespace lumidor
