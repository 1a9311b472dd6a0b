#pragma once
// oneTBB's workers for the engine, the one runner the demo runs and the benchmarks measure: oneTBB's
// default arena (one worker per core), or an arena of its own with a chosen number of workers.

#include "task_runner.h"

#include <cstdint>

namespace lumidor {

/// A runner that spreads the ranges over oneTBB's workers. `threads` 0 (or below): the default arena,
/// one worker per core (serial on a one-core machine); otherwise an arena of exactly `threads`
/// workers of its own, which lives as long as any copy of the runner.
TTaskRunner MakeTbbTaskRunner(std::int32_t threads = 0);

} // namespace lumidor
