// The sweep on several workers must give exactly what the one-thread sweep gives: the same
// particles in the same slots, the same vertices, the same count.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

using namespace lumidor;

// Counts the allocations this thread makes while asked to (not under the address sanitizer, which
// brings its own operator new).
#if !defined(__SANITIZE_ADDRESS__)
#define LUMIDOR_COUNTS_ALLOCATIONS 1
namespace {
thread_local bool countingAllocations = false;
thread_local int allocationsCounted = 0;
} // namespace
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete" // both sides below are malloc and free
#endif
void* operator new(std::size_t size) {
    if (countingAllocations) ++allocationsCounted;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#endif

namespace {

TTaskRunner ShuffledRunner(std::int32_t threads) {
    return lumidor::ShuffledRunner(threads, 11);
}

// Runs the ranges on `threads` real threads pulling from a shared counter.
TTaskRunner ThreadRunner(std::int32_t threads) {
    TTaskRunner runner;
    runner.Threads = threads;
    runner.MinimumParticlesPerRange = 1;
    runner.RunRanges = [threads](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        std::atomic<std::int32_t> next{0};
        std::vector<std::thread> workers;
        for (std::int32_t t = 0; t < threads; ++t) {
            workers.emplace_back([&] {
                for (std::int32_t r = next++; r < count; r = next++)
                    range(r);
            });
        }
        for (std::thread& worker : workers)
            worker.join();
    };
    return runner;
}

// Every path: all magnet modes, a sloped ground, wind, debug tips, fading, many short lives.
TParticleEffectContainer MakeScene() {
    return MakeEveryPathScene();
}

void AddRandomParticle(TParticleEffectContainer& scene) {
    AddParticle(scene, {R() * 4 - 2, R() * 3 - 1, R() * 4 - 2}, {0.2f, 0.3f, 0}, {R(), R(), 1.5f},
                std::int32_t(R() * 9), 0.05f + R() * 0.6f);
    RandomizeParticle(scene, ParticleCount(scene) - 1);
    // In a container that turns, each particle has an angle and a spin of its own.
    if (scene.Rotating)
        SetParticleRotation(scene, ParticleCount(scene) - 1, 900 * R() - 450, 3000 * R() - 1500);
}

// What the scene of ExpectIdentical draws beyond every path: turned or stretched particles.
struct TSceneTurn {
    bool Rotating = false;
    float Stretch = 0.0f;
};

using TSimulate = TSweepFunction;

std::int32_t Dispatched(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                        TParticleVertex* vertices, const TTaskRunner& runner) {
    return SimulateParticles(container, dt, camera, vertices, runner);
}

// Runs the scene serially and on `runner` side by side, topping both up alike every frame, and
// compares everything after every frame. Returns how many of the ranges the parallel sweep cuts
// lost a particle in at least one frame.
int ExpectIdentical(TSimulate simulate, const TTaskRunner& runner, std::int32_t size, int frames,
                    TSceneTurn turn = {}) {
    InstallGLRecorder();
    SeedRandom(5);
    TParticleEffectContainer serial = MakeScene();
    serial.Rotating = turn.Rotating;
    serial.Stretch = turn.Stretch;
    for (std::int32_t i = 0; i < size; ++i)
        AddRandomParticle(serial);
    TParticleEffectContainer parallel = serial;
    const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
    TVertexBuffer serialVertices(4 * std::size_t(size)), parallelVertices(4 * std::size_t(size));
    const std::size_t ranges = std::size_t(runner.Threads) * 4;
    std::vector<bool> died(ranges, false);
    const auto rangesWithDeaths = [&] { return int(std::count(died.begin(), died.end(), true)); };
    for (int frame = 0; frame < frames; ++frame) {
        const float dt = 1.0f / 30;
        const std::size_t count = serial.Particles.size();
        for (std::size_t i = 0; i < count; ++i) {
            if (serial.Particles[i].LifeLeft - dt < 0.0f) died[i * ranges / count] = true;
        }

        const std::int32_t serialCount = simulate(serial, dt, camera, serialVertices.data(), TTaskRunner{});
        const std::int32_t parallelCount = simulate(parallel, dt, camera, parallelVertices.data(), runner);
        EXPECT_EQ(serialCount, parallelCount) << "frame " << frame;
        if (serialCount != parallelCount) return rangesWithDeaths();
        EXPECT_EQ(std::memcmp(serialVertices.data(), parallelVertices.data(), std::size_t(serialCount) * 24),
                  0)
            << "frame " << frame;
        EXPECT_TRUE(SameParticleBits(serial.Particles, parallel.Particles)) << "frame " << frame;
        if (::testing::Test::HasFailure()) return rangesWithDeaths();
        // The same new particles for both, drawn once.
        while (ParticleCount(serial) < size) {
            AddRandomParticle(serial);
            parallel.Particles.push_back(serial.Particles.back());
            parallel.Particles.back() = serial.Particles.back(); // a view's copy carries the angle too
        }
    }
    return rangesWithDeaths();
}

} // namespace

TEST(ParallelSweep, ShuffledRangesGiveTheOneThreadResult) {
    // 1003 particles in 16 ranges of 62 or 63: every boundary but one splits a group of eight, the
    // last range ends in a short group, and with lives this short every range loses particles
    // (the last one, whose particles are the newest, only now and then).
    std::vector<TSimulate> sweeps = SupportedSweeps();
    sweeps.push_back(Dispatched);
    for (const TSimulate simulate : sweeps) {
        EXPECT_EQ(ExpectIdentical(simulate, ShuffledRunner(4), 1003, 40), 16);
    }
    // Ranges of one to three particles: no range holds a whole group.
    ExpectIdentical(Dispatched, ShuffledRunner(5), 37, 40);
}

TEST(ParallelSweep, TurnedAndStretchedParticlesGiveTheOneThreadResult) {
    std::vector<TSimulate> sweeps = SupportedSweeps();
    sweeps.push_back(Dispatched);
    const TSceneTurn turns[] = {{true, 0.0f}, {false, 0.1f}, {true, 0.1f}};
    for (const TSceneTurn& turn : turns) {
        for (const TSimulate simulate : sweeps)
            EXPECT_GE(ExpectIdentical(simulate, ShuffledRunner(4), 1003, 40, turn), 15);
        EXPECT_GE(ExpectIdentical(Dispatched, ThreadRunner(3), 2501, 30, turn), 11);
    }
}

TEST(ParallelSweep, ThreadsGiveTheOneThreadResult) {
    EXPECT_EQ(ExpectIdentical(Dispatched, ThreadRunner(3), 2501, 30), 12);
    // Thousands of deaths a frame, holes in every range and many of the particles that fill them dying too.
    EXPECT_EQ(ExpectIdentical(Dispatched, ThreadRunner(2), 40000, 4), 8);
}

TEST(ParallelSweep, SmallContainersAndNoRunnerStayOnTheCallingThread) {
    InstallGLRecorder();
    TParticleEffectContainer container = MakeScene();
    SeedRandom(2);
    for (int i = 0; i < 100; ++i)
        AddRandomParticle(container);
    int calls = 0;
    TTaskRunner runner;
    runner.Threads = 2;
    runner.MinimumParticlesPerRange = 64;
    runner.RunRanges = [&calls](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        ++calls;
        for (std::int32_t r = 0; r < count; ++r)
            range(r);
    };
    SimulateParticles(container, 0.01f, TCameraAxes{}, nullptr, runner); // 100 < 2 x 64
    EXPECT_EQ(calls, 0);
    runner.MinimumParticlesPerRange = 50;
    SimulateParticles(container, 0.01f, TCameraAxes{}, nullptr, runner);
    EXPECT_EQ(calls, 2); // the ranges list their dead, then step the survivors

    // UpdateAndDraw's runner is the one the host set.
    SetTaskRunner(runner);
    SimulateParticles(container, 0.01f, TCameraAxes{}, nullptr);
    SetTaskRunner(TTaskRunner{});
    EXPECT_EQ(calls, 4);
    SimulateParticles(container, 0.01f, TCameraAxes{}, nullptr);
    EXPECT_EQ(calls, 4);
}

TEST(ParallelSweep, SteadyFramesAllocateNothing) {
#if !defined(LUMIDOR_COUNTS_ALLOCATIONS)
    GTEST_SKIP() << "the address sanitizer owns operator new";
#else
    // A large container on four ranges and a small one on the calling thread, frame after frame.
    InstallGLRecorder();
    TTaskRunner runner;
    runner.Threads = 2;
    runner.MinimumParticlesPerRange = 100;
    runner.RunRanges = [](std::int32_t count, const std::function<void(std::int32_t)>& range) {
        for (std::int32_t r = 0; r < count; ++r)
            range(r);
    };
    SeedRandom(4);
    TParticleEffectContainer large = MakeScene(), small = MakeScene();
    for (int i = 0; i < 3000; ++i)
        AddRandomParticle(large);
    for (int i = 0; i < 150; ++i)
        AddRandomParticle(small);
    TVertexBuffer vertices(4 * 3000);
    int deaths = 0;
    const auto frame = [&](bool counted) {
        countingAllocations = counted;
        deaths += 3000 - SimulateParticles(large, 0.05f, TCameraAxes{}, vertices.data(), runner) / 4;
        SimulateParticles(small, 0.05f, TCameraAxes{}, vertices.data(), runner);
        countingAllocations = false;
        while (ParticleCount(large) < 3000)
            AddRandomParticle(large);
    };
    for (int i = 0; i < 20; ++i) // the scratch lists grow to the frames' largest need
        frame(false);
    deaths = 0;
    for (int i = 0; i < 5; ++i)
        frame(true);
    EXPECT_GT(deaths, 500); // holes were filled in every frame
    EXPECT_EQ(allocationsCounted, 0);
#endif
}

TEST(ParallelSweep, AllOrAlmostAllDyingGiveTheOneThreadResult) {
    // Which of 1200 particles live on: none; five; the first hundred but two, whose holes are filled
    // from just above the final count, where a short last group's spare lanes are written; the top
    // three hundred (no holes at all).
    InstallGLRecorder();
    const std::vector<std::vector<std::size_t>> cases = {{}, {7, 300, 301, 900, 1199}, {}, {}};
    for (std::size_t c = 0; c < cases.size(); ++c) {
        std::vector<std::size_t> living = cases[c];
        if (c == 2) {
            for (std::size_t i = 0; i < 100; ++i) {
                if (i != 3 && i != 5) living.push_back(i);
            }
            living.insert(living.end(), {101, 102});
        }
        if (c == 3) {
            for (std::size_t i = 900; i < 1200; ++i)
                living.push_back(i);
        }
        SeedRandom(9);
        TParticleEffectContainer serial = MakeScene();
        for (int i = 0; i < 1200; ++i)
            AddRandomParticle(serial);
        for (std::size_t i = 0; i < serial.Particles.size(); ++i)
            serial.Particles[i].LifeLeft = 0.01f;
        for (const std::size_t i : living)
            serial.Particles[i].LifeLeft = 2.0f;
        TParticleEffectContainer parallel = serial;
        TVertexBuffer serialVertices(4 * 1200), parallelVertices(4 * 1200);
        const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
        const std::int32_t serialCount =
            SimulateParticles(serial, 0.05f, camera, serialVertices.data(), TTaskRunner{});
        const std::int32_t parallelCount =
            SimulateParticles(parallel, 0.05f, camera, parallelVertices.data(), ShuffledRunner(4));
        ASSERT_EQ(serialCount, std::int32_t(4 * living.size())) << "case " << c;
        ASSERT_EQ(serialCount, parallelCount) << "case " << c;
        EXPECT_TRUE(SameParticleBits(serial.Particles, parallel.Particles)) << "case " << c;
        EXPECT_EQ(std::memcmp(serialVertices.data(), parallelVertices.data(), std::size_t(serialCount) * 24),
                  0)
            << "case " << c;
    }
}

// A small grid of zero heights takes a shortcut (the surface is the origin's height); it must bounce
// exactly as the general bilinear lookup does on a larger zero grid over the same area.
TEST(FlatGround, ShortcutBouncesAsTheGeneralLookup) {
    InstallGLRecorder();
    for (const float originY : {-1.1f, 0.0f}) {
        SeedRandom(9);
        TParticleEffectContainer small{}, large{};
        SetCollisionWorld(small, std::make_shared<HDataArray>(3, std::vector<float>{0.0f, -0.0f, 0.0f}),
                          {-3, originY, -3}, 3.0f, 3.0f);
        SetCollisionWorld(large, std::make_shared<HDataArray>(13, std::vector<float>(13, 0.0f)),
                          {-3, originY, -3}, 0.5f, 0.5f);
        SetWorldFriction(small, {0.2f, 0.4f, 0.2f});
        SetWorldFriction(large, {0.2f, 0.4f, 0.2f});
        for (int i = 0; i < 301; ++i) {
            // Some start outside the grid, some exactly on its border.
            const float x = i % 50 == 0 ? 3.0f : R() * 8 - 4;
            AddParticle(small, {x, originY + R() * 2, R() * 8 - 4}, {0.2f, 0.3f, 0}, {1, 1, 1}, 0, 10.0f);
            SetParticleForce(small, {0, -9.81f, 0}, i);
            SetParticleVelocity(small, {R() - 0.5f, -R() * 3, R() - 0.5f}, i);
        }
        large.Particles = small.Particles;
        std::vector<TParticleVertex> smallVertices(4 * 301), largeVertices(4 * 301);
        int bounced = 0;
        for (int frame = 0; frame < 60; ++frame) {
            std::vector<float> before;
            for (const TParticle& p : small.Particles)
                before.push_back(p.Velocity.y);
            ASSERT_EQ(SimulateParticles(small, 1.0f / 30, TCameraAxes{}, smallVertices.data()),
                      SimulateParticles(large, 1.0f / 30, TCameraAxes{}, largeVertices.data()));
            ASSERT_TRUE(SameParticleBits(small.Particles, large.Particles, 301)) << "frame " << frame;
            ASSERT_EQ(std::memcmp(smallVertices.data(), largeVertices.data(), smallVertices.size() * 24), 0);
            for (std::size_t i = 0; i < before.size(); ++i)
                bounced += before[i] < 0 && small.Particles[i].Velocity.y > 0;
        }
        EXPECT_GT(bounced, 100);
    }
}
