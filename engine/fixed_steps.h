#pragma once
// Time counted in whole fixed steps. Seeks, prewarms and the timeline's single steps all run the same
// step, so a position on the timeline is an integer and "seek to T, then k steps" lands exactly where
// "seek to T + k steps" does. Seconds are only what a person reads and types; they are turned into
// steps by the one function below.

#include <cmath>
#include <cstdint>

namespace lumidor {

/// Fixed steps in one second.
inline constexpr std::int64_t StepsPerSecond = 60;
/// Seconds one fixed step runs an effect: 1/60 rounded to a float, the float every step passes.
inline constexpr float FixedStepSeconds = 1.0f / float(StepsPerSecond);
/// Most steps a seek or a step count may name: one hour.
inline constexpr std::int64_t MaxFixedSteps = 3600 * StepsPerSecond;

/// The whole number of steps nearest to `seconds` (halves round up), clamped to 0 .. MaxFixedSteps;
/// NaN gives 0. Exact for any time a person can type: 0.51 s is step 31, 2000/60 s is step 2000.
inline std::int64_t StepsForSeconds(double seconds) {
    if (!(seconds > 0.0)) return 0;
    if (!(seconds < double(MaxFixedSteps) / double(StepsPerSecond))) return MaxFixedSteps;
    return std::int64_t(std::floor(seconds * double(StepsPerSecond) + 0.5));
}

/// The time a person reads for `steps` steps: steps / StepsPerSecond seconds.
inline double SecondsOfSteps(std::int64_t steps) {
    return double(steps) / double(StepsPerSecond);
}

} // namespace lumidor
