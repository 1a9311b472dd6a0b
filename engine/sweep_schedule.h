#pragma once
// The sweep's scheduling, the same for every width and compiled once: which particles die this frame
// (from their lives alone), where each survivor ends up, and how the particles split into ranges for
// the host's workers. The stepping of a range is the width's own, called through TRangeStepper.

#include "engine/particle_blocks.h"
#include "engine/particle_container.h"
#include "engine/task_runner.h"

#include <cstddef>
#include <vector>

namespace lumidor {

/// A survivor's move in the one-thread sweep's swap-removal: particle `Source` ends the pass in slot
/// `Hole`.
struct TSweepMove {
    std::size_t Hole;
    std::size_t Source;
};

/// The sweep's scratch, kept between passes so that a pass allocates nothing once it has grown. One
/// context serves one sweep at a time.
struct TSweepContext {
    /// Per range, ascending: the particles that die in the pass (the first RangeCount lists count).
    std::vector<std::vector<std::size_t>> Dead;
    /// Ascending holes: which particle fills each dead slot below the final count.
    std::vector<TSweepMove> Moves;
    /// Per range, then the last short group: the bounces of the pass, while events are asked for.
    std::vector<std::vector<TParticleEvent>> Bounces;
};

/// Steps particles [start, end) of the final order, first filling their holes from the moves
/// [move, movesEnd) (ascending holes), and writes their vertices from `vertices` on (null: none);
/// appends their bounces, in index order, to `bounces` (null: none asked for).
struct TRangeStepper {
    void (*Step)(const void* state, std::size_t start, std::size_t end, const TSweepMove* move,
                 const TSweepMove* movesEnd, TParticleVertex* vertices, std::vector<TParticleEvent>* bounces);
    const void* State;     ///< the width's pass, handed back to Step
    std::size_t GroupSize; ///< particles a group steps at once; ranges split on whole groups
};

/// Ranges a sweep of `count` particles splits into on `runner` (1: this thread only).
std::size_t SweepRangeCount(const TTaskRunner& runner, std::size_t count);

/// Ages `count` particles by dt and removes the dead as the one-thread sweep's swap-removal would,
/// stepping the survivors where they end up through `stepper`, on `ranges` ranges. Returns the
/// survivors; the dead of this pass stay listed in context.Dead. With `events` (not null) its Deaths
/// and Bounces are replaced by this pass's, each in index order whatever the number of ranges: the
/// dead where they were before the pass, the bounced where the step left them.
std::size_t SweepInRanges(TSweepContext& context, const TRangeStepper& stepper, TParticleFields particles,
                          float dt, std::size_t count, TParticleVertex* vertices, const TTaskRunner& runner,
                          std::size_t ranges, TParticleEventLog* events = nullptr);

} // namespace lumidor
