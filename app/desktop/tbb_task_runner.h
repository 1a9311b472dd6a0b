#pragma once
// The demo's workers for the engine: oneTBB's default arena, one worker per core.

#include "engine/task_runner.h"

namespace lumidor {

/// A runner that spreads the ranges over oneTBB's workers (serial on a one-core machine).
TTaskRunner MakeTbbTaskRunner();

} // namespace lumidor
