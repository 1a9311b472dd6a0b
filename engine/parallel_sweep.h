#pragma once
// The particle sweep spread over a host's workers, with exactly the one-thread sweep's result.

#include "engine/particle_array.h"
#include "engine/particle_container.h"
#include "engine/task_runner.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace lumidor {

/// Ages, fades, moves and writes particles [start, end) where they stand (start a multiple of two
/// blocks), the dying ones too, with their vertices at 4 x their index, and lists the indices of
/// those that die, ascending. Called on the runner's workers.
using TSweepRange = std::function<void(std::size_t start, std::size_t end, std::vector<std::size_t>& dead)>;

/// Sweeps `count` particles in `ranges` ranges on the runner's workers, then replays the one-thread
/// sweep's swap-removals: which particles die this frame depends only on each one's own life, and a
/// particle's step does not depend on its slot, so every hole below the final count takes the
/// highest surviving particle from above it, already stepped, with its vertices. Returns the final
/// count.
std::size_t SweepInRanges(TParticleBlock* blocks, std::size_t count, TParticleVertex* vertices,
                          const TTaskRunner& runner, std::size_t ranges, const TSweepRange& sweepRange);

} // namespace lumidor
