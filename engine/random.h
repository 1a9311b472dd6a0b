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

/// The generator's whole state: restoring it replays the same draws (checkpoints of a timeline).
struct TRandomState {
    std::uint64_t State = 0;     ///< the generator's position in its sequence
    std::uint64_t Increment = 0; ///< the sequence the seed chose
};
/// The generator's current state.
TRandomState SaveRandom();
/// Puts the generator back to a state SaveRandom returned.
void RestoreRandom(const TRandomState& state);

} // namespace lumidor
