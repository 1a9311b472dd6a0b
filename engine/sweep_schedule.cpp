// The sweep's result is that of ageing the particles in order and letting each dead one take the last
// particle in its place. Which particles die this frame depends only on each one's own life, and a
// particle's step does not depend on its slot. So the dead are listed from the lives alone first;
// those swap-removals are worked out from the lists (every hole below the final count takes the
// highest surviving particle from above it); and then the final particles are stepped where they end
// up, each hole filled just before its group is stepped, when the step is about to bring its block
// into the cache anyway.

#include "engine/sweep_schedule.h"

#include "engine/particle_physics.h"

#include <algorithm>
#include <span>

namespace lumidor {

namespace {

using namespace lanes;

constexpr int kListLanes = 4;

// First index of range r of `ranges` equal ranges over count items.
std::size_t RangeStart(std::size_t count, std::size_t ranges, std::size_t r) {
    return count * r / ranges;
}

// The same, rounded down to a whole pair of blocks, so that no block is written by two ranges.
std::size_t BlockRangeStart(std::size_t count, std::size_t ranges, std::size_t r) {
    constexpr std::size_t pair = 2 * kParticleBlockLanes; // a group of any width lies within one
    return r == ranges ? count : RangeStart(count, ranges, r) / pair * pair;
}

// Lists, ascending, the particles of [start, end) that die this frame, with the step's own ageing.
// Deaths are rare: two vectors of lives are tested with one branch.
void ListTheDead(const float* lifeLeft, float dt, std::size_t start, std::size_t end,
                 std::vector<std::size_t>& dead) {
    constexpr std::size_t stride = 2 * kListLanes;
    dead.clear();
    std::size_t index = start;
    for (; index + stride <= end; index += stride) {
        const TMask<kListLanes> low =
            physics::Dies(physics::Age(LoadContiguous<kListLanes>(lifeLeft + index), dt));
        const TMask<kListLanes> high =
            physics::Dies(physics::Age(LoadContiguous<kListLanes>(lifeLeft + index + kListLanes), dt));
        if (!Any(low | high)) continue;
        for (int lane = 0; lane < kListLanes; ++lane) {
            if (low[lane]) dead.push_back(index + std::size_t(lane));
        }
        for (int lane = 0; lane < kListLanes; ++lane) {
            if (high[lane]) dead.push_back(index + kListLanes + std::size_t(lane));
        }
    }
    for (; index < end; ++index) {
        if (physics::Dies(physics::Age(Splat<kListLanes>(lifeLeft[index]), dt))[0]) dead.push_back(index);
    }
}

// Runs body(r) for every range r of `ranges`: on the host's workers, or here when there is one. The
// callback the host gets holds only a reference to the body, which std::function keeps without
// allocating.
template <typename Body> void ForEachRange(const TTaskRunner& runner, std::size_t ranges, const Body& body) {
    if (ranges == 1) {
        body(std::int32_t(0));
    } else {
        runner.RunRanges(std::int32_t(ranges), [&body](std::int32_t r) { body(r); });
    }
}

// Holes ascending; sources from the top down, skipping the dead (found from the last list back).
void PlanMoves(std::span<const std::vector<std::size_t>> lists, std::size_t count, std::size_t survivors,
               std::vector<TSweepMove>& moves) {
    moves.clear();
    std::size_t source = count;
    std::size_t topList = lists.size(), topDead = 0; // next dead from the top: lists[topList][topDead - 1]
    const auto nextDeadFromTop = [&]() -> std::size_t {
        while (topDead == 0 && topList > 0)
            topDead = lists[--topList].size();
        return topDead ? lists[topList][topDead - 1] : count;
    };
    for (const auto& dead : lists) {
        for (const std::size_t hole : dead) {
            if (hole >= survivors) return;
            for (;;) {
                --source;
                if (nextDeadFromTop() != source) break;
                --topDead;
            }
            moves.push_back({hole, source});
        }
    }
}

// The dead's last positions and velocities, read before the moves overwrite their slots.
void ReportDeaths(std::span<const std::vector<std::size_t>> lists, TParticleFields particles,
                  std::vector<TParticleEvent>& deaths) {
    deaths.clear();
    for (const auto& dead : lists) {
        for (const std::size_t index : dead) {
            const TParticleBlock& block = particles.Blocks[index / kParticleBlockLanes];
            const std::size_t lane = index % kParticleBlockLanes;
            deaths.push_back({{block.Position.x[lane], block.Position.y[lane], block.Position.z[lane]},
                              {block.Velocity.x[lane], block.Velocity.y[lane], block.Velocity.z[lane]}});
        }
    }
}

} // namespace

std::size_t SweepRangeCount(const TTaskRunner& runner, std::size_t count) {
    const std::size_t minimum = std::size_t(std::max<std::int32_t>(runner.MinimumParticlesPerRange, 1));
    const std::size_t ranges = runner.RunRanges && runner.Threads > 1
                                   ? std::min<std::size_t>(std::size_t(runner.Threads) * 4, count / minimum)
                                   : 1;
    return std::max<std::size_t>(ranges, 1);
}

std::size_t SweepInRanges(TSweepContext& context, const TRangeStepper& stepper, TParticleFields particles,
                          float dt, std::size_t count, TParticleVertex* vertices, const TTaskRunner& runner,
                          std::size_t ranges, TParticleEventLog* events) {
    // Lists are only ever added, so that containers swept with different numbers of ranges do not
    // free and allocate them again; the first `ranges` are this sweep's.
    if (context.Dead.size() < ranges) context.Dead.resize(ranges);
    const auto lists = std::span(context.Dead).first(ranges);
    ForEachRange(runner, ranges, [&](std::int32_t r) {
        ListTheDead(particles.LifeLeft, dt, RangeStart(count, ranges, std::size_t(r)),
                    RangeStart(count, ranges, std::size_t(r) + 1), lists[std::size_t(r)]);
    });
    std::size_t deaths = 0;
    for (const auto& dead : lists)
        deaths += dead.size();
    const std::size_t survivors = count - deaths;
    PlanMoves(lists, count, survivors, context.Moves);
    if (events) {
        ReportDeaths(lists, particles, events->Deaths);
        events->Bounces.clear();
        if (context.Bounces.size() < ranges + 1) context.Bounces.resize(ranges + 1);
        for (std::size_t r = 0; r <= ranges; ++r)
            context.Bounces[r].clear();
    }
    // Ranges in index order, the last short group after them: joined in that order, the bounces are
    // in index order however many ranges there were.
    const auto gatherBounces = [&] {
        if (!events) return;
        for (std::size_t r = 0; r <= ranges; ++r)
            events->Bounces.insert(events->Bounces.end(), context.Bounces[r].begin(),
                                   context.Bounces[r].end());
    };

    const TSweepMove* moves = context.Moves.data();
    const TSweepMove* movesEnd = moves + context.Moves.size();
    const auto step = [&](std::size_t start, std::size_t end, const TSweepMove* move, std::size_t list) {
        stepper.Step(stepper.State, start, end, move, movesEnd, vertices ? vertices + 4 * start : nullptr,
                     events ? &context.Bounces[list] : nullptr);
    };
    if (ranges == 1) {
        step(0, survivors, moves, 0);
        gatherBounces();
        return survivors;
    }
    // The ranges write only below the final count and read the holes' particles from above it. The
    // last group, if it is not whole, is stepped once they are all done: its spare lanes are written
    // as well, and those lie above the final count.
    const auto firstMoveFrom = [&](std::size_t index) {
        return std::lower_bound(moves, movesEnd, index,
                                [](const TSweepMove& m, std::size_t i) { return m.Hole < i; });
    };
    const std::size_t whole = survivors / stepper.GroupSize * stepper.GroupSize;
    ForEachRange(runner, ranges, [&](std::int32_t r) {
        const std::size_t start = BlockRangeStart(whole, ranges, std::size_t(r));
        const std::size_t end = BlockRangeStart(whole, ranges, std::size_t(r) + 1);
        step(start, end, firstMoveFrom(start), std::size_t(r));
    });
    step(whole, survivors, firstMoveFrom(whole), ranges);
    gatherBounces();
    return survivors;
}

} // namespace lumidor
