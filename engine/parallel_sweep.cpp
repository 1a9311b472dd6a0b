#include "engine/parallel_sweep.h"

#include <algorithm>
#include <cstdint>

namespace lumidor {

namespace {

// Where the one-thread sweep puts a particle: particle `Source` ends the pass in slot `Hole`.
struct TMove {
    std::size_t Hole, Source;
};

// Scratch of the parallel sweep, kept between frames so that a frame allocates nothing.
struct TParallelScratch {
    std::vector<std::vector<std::size_t>> Dead; // per range, ascending
    std::vector<TMove> Moves;                   // ascending holes
};

// First index of range r of `ranges` equal ranges over count items.
std::size_t RangeStart(std::size_t count, std::size_t ranges, std::size_t r) { return count * r / ranges; }

// The same, rounded down to a whole pair of blocks, so that no block is written by two ranges.
std::size_t BlockRangeStart(std::size_t count, std::size_t ranges, std::size_t r) {
    constexpr std::size_t pair = 2 * kParticleBlockLanes; // a group of any width lies within one
    return r == ranges ? count : RangeStart(count, ranges, r) / pair * pair;
}

// Holes ascending; sources from the top down, skipping the dead (found from the last list back).
void ListMoves(TParallelScratch& scratch, std::size_t count, std::size_t survivors) {
    scratch.Moves.clear();
    std::size_t source = count;
    std::size_t topList = scratch.Dead.size(), topDead = 0; // next dead from the top: Dead[topList][topDead - 1]
    const auto nextDeadFromTop = [&]() -> std::size_t {
        while (topDead == 0 && topList > 0) topDead = scratch.Dead[--topList].size();
        return topDead ? scratch.Dead[topList][topDead - 1] : count;
    };
    for (const auto& dead : scratch.Dead) {
        for (const std::size_t hole : dead) {
            if (hole >= survivors) return;
            for (;;) {
                --source;
                if (nextDeadFromTop() != source) break;
                --topDead;
            }
            scratch.Moves.push_back({hole, source});
        }
    }
}

} // namespace

std::size_t SweepInRanges(TParticleBlock* blocks, std::size_t count, TParticleVertex* vertices,
                          const TTaskRunner& runner, std::size_t ranges, const TSweepRange& sweepRange) {
    // The ranges run on other threads: they must reach this thread's scratch through a reference.
    static thread_local TParallelScratch callerScratch;
    TParallelScratch& scratch = callerScratch;
    scratch.Dead.resize(ranges);
    runner.RunRanges(std::int32_t(ranges), [&](std::int32_t r) {
        const std::size_t start = BlockRangeStart(count, ranges, std::size_t(r));
        const std::size_t end = BlockRangeStart(count, ranges, std::size_t(r) + 1);
        sweepRange(start, end, scratch.Dead[std::size_t(r)]);
    });

    std::size_t deaths = 0;
    for (const auto& dead : scratch.Dead) deaths += dead.size();
    const std::size_t survivors = count - deaths;
    ListMoves(scratch, count, survivors);

    // Holes lie below the final count and sources above it: the moves are independent.
    const auto move = [&](const TMove& m) {
        CopyParticle(blocks, m.Source, blocks, m.Hole);
        if (vertices) std::copy(vertices + 4 * m.Source, vertices + 4 * m.Source + 4, vertices + 4 * m.Hole);
    };
    constexpr std::size_t movesWorthARange = 1024;
    const std::size_t moveRanges = std::min(ranges, scratch.Moves.size() / movesWorthARange);
    if (moveRanges < 2) {
        for (const TMove& m : scratch.Moves) move(m);
    } else {
        runner.RunRanges(std::int32_t(moveRanges), [&](std::int32_t r) {
            const std::size_t end = RangeStart(scratch.Moves.size(), moveRanges, std::size_t(r) + 1);
            for (std::size_t i = RangeStart(scratch.Moves.size(), moveRanges, std::size_t(r)); i < end; ++i)
                move(scratch.Moves[i]);
        });
    }
    return survivors;
}

} // namespace lumidor
