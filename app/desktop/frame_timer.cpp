#include "app/desktop/frame_timer.h"

#include <SDL.h>

namespace lumidor {

const TCounterSource& SdlCounterSource() {
    static const TCounterSource source{
        [] { return static_cast<std::uint64_t>(SDL_GetPerformanceFrequency()); },
        [] { return static_cast<std::uint64_t>(SDL_GetPerformanceCounter()); },
        [] { return static_cast<std::uint32_t>(SDL_GetTicks()); },
    };
    return source;
}

double PerformanceMilliseconds() {
    return 1000.0 * double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

void Start(THighResCounter& counter, const TCounterSource& source) {
    counter.HasHighResolution = false;
    counter.Frequency = static_cast<std::int64_t>(source.Frequency());
    if (counter.Frequency != 0) {
        counter.HasHighResolution = true;
        counter.Resolution = static_cast<float>(1.0L / static_cast<long double>(counter.Frequency));
        counter.LastCount = static_cast<std::int64_t>(source.Counter());
    } else {
        counter.LastCount = static_cast<std::int64_t>(source.Ticks()); // widened with zeros
        counter.Resolution = 0.001f;
    }
}

void Tick(THighResCounter& counter, const TCounterSource& source) {
    std::int64_t difference;
    if (counter.HasHighResolution) {
        counter.CurrentCount = static_cast<std::int64_t>(source.Counter());
        // Unsigned subtraction, then signed: no overflow whatever the two readings are.
        difference = static_cast<std::int64_t>(static_cast<std::uint64_t>(counter.CurrentCount) -
                                               static_cast<std::uint64_t>(counter.LastCount));
    } else {
        counter.CurrentCount = static_cast<std::int64_t>(source.Ticks());
        // The 32-bit tick count wraps every 49.7 days; measuring modulo 2^32 keeps the frame across the
        // wrap a few milliseconds long instead of minus 49 days. Identical to the plain difference otherwise.
        difference = static_cast<std::uint32_t>(static_cast<std::uint32_t>(counter.CurrentCount) -
                                                static_cast<std::uint32_t>(counter.LastCount));
    }
    counter.Elapsed = static_cast<float>(static_cast<long double>(difference) *
                                         static_cast<long double>(counter.Resolution));
    counter.LastCount = counter.CurrentCount;
}

} // namespace lumidor
