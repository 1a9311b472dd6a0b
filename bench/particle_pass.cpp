// The per-frame particle pass on the demo's floor scene, against the memory floor of the same
// particle count: reading and writing each record once and streaming 96 bytes of vertices.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/random.h"
#include "engine/simulation.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace lumidor;

namespace {

constexpr float frameTime = 1.0f / 60.0f;

float Uniform(float low, float high) { return low + (high - low) * R(); }

void AddFloorParticle(TParticleEffectContainer& container) {
    AddParticle(container, {Uniform(-2, 2), Uniform(-2, 2), Uniform(-2, 2)}, {0.1f, 0.1f, 0}, {1, 0.6f, 0.3f}, 0,
                Uniform(2, 4));
    const std::int32_t i = ParticleCount(container) - 1;
    SetParticleForce(container, {0, -9.81f, 0}, i);
    SetParticleInertia(container, {0.4f, 0.4f, 0.4f}, i);
    SetParticleMass(container, i, 0.7f);
    SetParticleAirResistance(container, i, 0.1f);
    SetParticleEndFadeIn(container, i, 0.2f);
    SetParticleBeginFadeOut(container, i, 0.7f);
    SetParticleEnlargement(container, {0.1f, 0.1f, 0}, i);
}

void TopUp(TParticleEffectContainer& container, std::int32_t target) {
    while (ParticleCount(container) < target) AddFloorParticle(container);
}

// The demo's flat floor with one magnet of mode 1 at the origin.
TParticleEffectContainer MakeFloorScene(std::int32_t count) {
    TParticleEffectContainer container{};
    SetTextureProperties(container, 1, 2, 4);
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>(2, 0.0f)), {-5, -1.1f, -5},
                      10.0f, 10.0f);
    SetWorldFriction(container, {0.2f, 0.4f, 0.2f});
    AddMagnetPoint(container, {0, 0, 0}, 3.0f, -2.0f);
    TopUp(container, count);
    return container;
}

void BM_ParticlePass(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    const auto count = std::int32_t(state.range(0));
    TParticleEffectContainer container = MakeFloorScene(count);
    // Warm up into the steady mix of ages before measuring.
    std::vector<TParticleVertex> vertices(std::size_t(container.BufferCapacity) + 4 * std::size_t(count));
    for (int frame = 0; frame < 30; ++frame) {
        SimulateParticles(container, frameTime, TCameraAxes{}, vertices.data());
        TopUp(container, count);
    }
    for (auto _ : state) {
        SimulateParticles(container, frameTime, TCameraAxes{}, vertices.data());
        TopUp(container, count);
        if (vertices.size() < std::size_t(container.BufferCapacity)) vertices.resize(std::size_t(container.BufferCapacity));
        benchmark::DoNotOptimize(vertices.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] = benchmark::Counter(double(count) * double(state.iterations()),
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MemoryFloor(benchmark::State& state) {
    const auto count = std::size_t(state.range(0));
    std::vector<TParticle> particles(count);
    std::vector<TParticleVertex> vertices(4 * count);
    for (auto _ : state) {
        TParticleVertex* out = vertices.data();
        for (TParticle& particle : particles) {
            // One read and one write of the record, 96 bytes of vertices, no arithmetic.
            TParticle copy = particle;
            benchmark::DoNotOptimize(copy);
            particle = copy;
            const TParticleVertex vertex{copy.Size.x, copy.Size.y, 1, 2, 3, 4,
                                         copy.Position.x, copy.Position.y, copy.Position.z};
            out[0] = vertex;
            out[1] = vertex;
            out[2] = vertex;
            out[3] = vertex;
            out += 4;
        }
        benchmark::DoNotOptimize(vertices.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_particle"] = benchmark::Counter(double(count) * double(state.iterations()),
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ParticlePass)->Arg(10000)->Arg(20000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoryFloor)->Arg(10000)->Arg(20000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
