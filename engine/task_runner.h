#pragma once
// The engine owns no threads. A host that has workers (a thread pool, oneTBB) hands the engine a
// way to run independent pieces of work on them; without one everything runs on the calling thread.

#include <cstdint>
#include <functional>

namespace lumidor {

/// Calls range(r) once for every r in 0 .. count - 1, in any order and on any threads, and returns
/// only when every call has finished. The calls never depend on one another.
using TRunRanges = std::function<void(std::int32_t count, const std::function<void(std::int32_t)>& range)>;

/// How the engine may spread a sweep over a host's workers; the value-initialised runner is serial.
struct TTaskRunner {
    TRunRanges RunRanges;                         ///< empty: everything runs on the calling thread
    std::int32_t Threads = 1;                     ///< workers RunRanges spreads the ranges over
    std::int32_t MinimumParticlesPerRange = 4096; ///< smaller sweeps stay on the calling thread
};

/// The runner UpdateAndDraw uses, for every container; set it before the first frame (the default
/// runs serially). Not for use while a frame is being computed.
void SetTaskRunner(TTaskRunner runner);
/// The runner set by SetTaskRunner (serial until then).
const TTaskRunner& TaskRunner();

} // namespace lumidor
