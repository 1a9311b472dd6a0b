// oneTBB's runner, the one the demo runs and the benchmarks measure: every range once, in the arena
// asked for, and the sweep on it bit for bit the one-thread sweep.

#include "engine/gl_recorder.h"
#include "engine/particle_step_breakdown.h"
#include "engine/simulation.h"
#include "engine/tbb_task_runner.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>
#include <tbb/task_arena.h>

#include <atomic>
#include <cstring>
#include <vector>

using namespace lumidor;

TEST(TbbTaskRunner, RunsEveryRangeOnceInTheArenaAskedFor) {
    const int cores = tbb::this_task_arena::max_concurrency();
    const struct {
        std::int32_t Asked;
        int Workers; // the arena's concurrency, as the ranges see it
    } cases[] = {{0, cores}, {-2, cores}, {1, 1}, {2, 2}};
    for (const auto& c : cases) {
        const TTaskRunner runner = MakeTbbTaskRunner(c.Asked);
        ASSERT_TRUE(runner.RunRanges) << c.Asked;
        EXPECT_EQ(runner.Threads, c.Workers) << c.Asked;
        std::vector<std::atomic<int>> calls(64);
        std::atomic<int> otherArena{0};
        const TTaskRunner copy = runner; // a copy shares the arena, which outlives the original
        copy.RunRanges(64, [&](std::int32_t r) {
            ++calls[std::size_t(r)];
            if (tbb::this_task_arena::max_concurrency() != c.Workers) ++otherArena;
        });
        for (std::size_t r = 0; r < calls.size(); ++r)
            EXPECT_EQ(calls[r].load(), 1) << "range " << r << ", " << c.Asked << " threads";
        EXPECT_EQ(otherArena.load(), 0) << c.Asked;
    }
}

TEST(TbbTaskRunner, TheSweepOnItIsTheOneThreadSweep) {
    InstallGLRecorder();
    SeedRandom(5);
    TParticleEffectContainer serial = MakeEveryPathScene();
    for (std::int32_t i = 0; i < 3000; ++i) {
        AddParticle(serial, {R() * 4 - 2, R() * 2, R() * 4 - 2}, {0.1f, 0.1f, 0}, {1, 1, 1}, 0,
                    0.2f + 2 * R());
        RandomizeParticle(serial, i);
    }
    TParticleEffectContainer parallel = serial;
    TTaskRunner runner = MakeTbbTaskRunner(2);
    runner.MinimumParticlesPerRange = 64; // small ranges, so that the workers share the pass
    for (int frame = 0; frame < 20; ++frame) {
        SimulateParticles(serial, 1.0f / 30, TCameraAxes{}, nullptr);
        SimulateParticles(parallel, 1.0f / 30, TCameraAxes{}, nullptr, runner);
    }
    ASSERT_EQ(ParticleCount(parallel), ParticleCount(serial));
    ASSERT_GT(ParticleCount(serial), 0);
    for (std::int32_t i = 0; i < ParticleCount(serial); ++i) {
        const TParticle a = ReadParticle(serial, i), b = ReadParticle(parallel, i);
        ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "particle " << i;
    }
}
