#pragma once
// The frame timer: seconds between two readings of the high-resolution counter, or of the
// millisecond tick count when there is no such counter.

#include <cstdint>
#include <functional>

namespace lumidor {

/// Where a THighResCounter reads time. The demo uses SDL's clocks; tests script their own.
struct TCounterSource {
    std::function<std::uint64_t()> Frequency; ///< ticks per second of the high-resolution counter; 0 if none
    std::function<std::uint64_t()> Counter;   ///< current high-resolution counter value
    std::function<std::uint32_t()> Ticks;     ///< milliseconds since some start; wraps after about 49.7 days
};

/// SDL_GetPerformanceFrequency / SDL_GetPerformanceCounter, with SDL_GetTicks as the fallback.
const TCounterSource& SdlCounterSource();

/// Milliseconds on SDL's high-resolution counter (any origin): the clock the desktop gives the demo core.
double PerformanceMilliseconds();

/// The frame timer record.
struct THighResCounter {
    std::int64_t Frequency = 0;     ///< ticks per second of the high-resolution counter
    std::int64_t LastCount = 0;     ///< counter value at the previous reading
    float Resolution = 0.0f;        ///< seconds per tick: 1 / Frequency, or 0.001 with the fallback
    float Elapsed = 0.0f;           ///< seconds between the last two readings; 0 before the first Tick
    bool HasHighResolution = false; ///< true when the high-resolution counter is available
    std::int64_t CurrentCount = 0;  ///< counter value at the latest reading
};

/// Takes the first reading and fixes the time base; leaves Elapsed unchanged.
void Start(THighResCounter& counter, const TCounterSource& source = SdlCounterSource());
/// Takes a reading; Elapsed becomes the seconds since the previous reading (0 when both readings
/// fall in the same tick).
void Tick(THighResCounter& counter, const TCounterSource& source = SdlCounterSource());

} // namespace lumidor
