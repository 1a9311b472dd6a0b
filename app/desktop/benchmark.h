#pragma once
// --benchmark: every effect slot in turn for a fixed number of frames at a fixed frame time, and a
// table of live particles and milliseconds per frame.

#include "app/core/app_hooks.h"
#include "app/core/command_line.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

struct TMainWindow;

/// Frames each slot runs before timing starts, so that its systems fill up.
inline constexpr int BenchmarkWarmUpFrames = 120;
/// Frames timed per slot unless --frames says otherwise.
inline constexpr int BenchmarkDefaultFrames = 300;
/// Frame time used unless --fixed-dt says otherwise, seconds.
inline constexpr float BenchmarkDefaultFrameTime = 1.0f / 60.0f;

/// One line of the table.
struct TBenchmarkRow {
    int Slot = 0;
    std::string Caption;
    std::int64_t Particles = 0; ///< live particles after the last timed frame
    double EngineMs = 0.0;      ///< per frame, inside the effect pass (simulation and drawing calls)
    double TotalMs = 0.0;       ///< per frame, the whole frame: effect pass, UI and buffer swap
};

/// Live particles of the systems `slot` draws into: the three shared systems, plus the text's
/// system (slot 17) or the running script's systems (slots 11, 12, 13).
std::int64_t LiveParticles(int slot);

/// The table's header line and one line per row, each ending in a newline.
std::string BenchmarkHeader();
std::string BenchmarkLine(const TBenchmarkRow& row);

/// Runs slots 0..18; before each, the shared systems are emptied so that no slot inherits another's
/// particles. Prints the table to standard output as it goes. Returns the exit status (0; the
/// window's close button ends it early with what was measured).
int RunBenchmark(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options);

} // namespace lumidor
