#pragma once
// --soak SECONDS: every effect slot in menu order for about two seconds each, the scripts reloaded at
// the start of every cycle, until the time is up; then one line with the resident memory.

#include "app/core/app_hooks.h"
#include "app/core/command_line.h"
#include "effects/effect_slots.h"

#include <string>

namespace lumidor {

struct TMainWindow;

/// Seconds of frames each slot runs per cycle.
inline constexpr double kSoakSecondsPerSlot = 2.0;
/// --soak seconds that give the two complete cycles a memory comparison needs: every slot twice, and two
/// slots' time for the frames that run over their slot's end.
inline constexpr int kSoakSecondsForTwoCycles =
    static_cast<int>((2 * EffectSlotCount + 2) * kSoakSecondsPerSlot);

/// Resident memory of this process now and at its peak, MiB; 0 where /proc cannot be read.
struct TMemoryUse {
    double ResidentMiB = 0.0;
    double PeakMiB = 0.0;
};
TMemoryUse ReadMemoryUse();

/// "soak: C cycles, F frames, RSS A -> B MiB (peak P MiB)" with whole MiB, ending in a newline. With
/// fewer than two complete cycles there is nothing to compare A with: "soak: 1 cycle, F frames, RSS B MiB
/// at the end (peak P MiB); comparing the memory after the first cycle needs two cycles (--soak 80 or
/// more)".
std::string SoakLine(long long cycles, long long frames, double firstCycleMiB, double endMiB, double peakMiB);

/// Releases the three scripts' GL objects and loads them again from their files.
void ReloadScripts();

/// Runs the soak for options.Soak seconds (the first cycle always completes, so that A is known; a cycle
/// whose last slot starts before the time is up completes too) and prints SoakLine to standard output.
/// Closing the window ends it early. Returns the exit status: 0, or 1 when a sanitizer build's leak check
/// (run before shut-down) finds leaks.
int RunSoak(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options);

} // namespace lumidor
