// What seeing inside an effect costs: UpdateAndDraw of the floor scene with and without a pass
// observer that times each pass (as the demo's Statistics window does), and the inspector's
// breakdown of one particle's step.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_step_breakdown.h"
#include "engine/pass_observer.h"
#include "engine/random.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

using namespace lumidor;

namespace {

constexpr float frameTime = 1.0f / 60.0f;

float Uniform(float low, float high) {
    return low + (high - low) * R();
}

void TopUp(TParticleEffectContainer& container, std::int32_t target) {
    while (ParticleCount(container) < target) {
        AddParticle(container, {Uniform(-2, 2), Uniform(-2, 2), Uniform(-2, 2)}, {0.1f, 0.1f, 0},
                    {1, 0.6f, 0.3f}, 0, Uniform(2, 4));
        const std::int32_t i = ParticleCount(container) - 1;
        SetParticleForce(container, {0, -9.81f, 0}, i);
        SetParticleInertia(container, {0.4f, 0.4f, 0.4f}, i);
        SetParticleMass(container, i, 0.7f);
        SetParticleAirResistance(container, i, 0.1f);
    }
}

TParticleEffectContainer MakeFloorScene(std::int32_t count) {
    TParticleEffectContainer container{};
    SetTextureProperties(container, 1, 2, 4);
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>(2, 0.0f)),
                      {-5, -1.1f, -5}, 10.0f, 10.0f);
    SetWorldFriction(container, {0.2f, 0.4f, 0.2f});
    AddMagnetPoint(container, {0, 0, 0}, 3.0f, -2.0f);
    TopUp(container, count);
    return container;
}

struct TTimings {
    std::chrono::steady_clock::time_point Start;
    double Seconds = 0.0;
};

// Arg 0: no observer; arg 1: an observer that times every pass.
void BM_PassObserved(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    TParticleEffectContainer container = MakeFloorScene(10000);
    TTimings timings;
    TPassObserver observer;
    observer.Context = &timings;
    observer.BeforePass = [](TParticleEffectContainer&, float, void* context) {
        static_cast<TTimings*>(context)->Start = std::chrono::steady_clock::now();
    };
    observer.AfterPass = [](TParticleEffectContainer&, float, void* context) {
        auto& t = *static_cast<TTimings*>(context);
        t.Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t.Start).count();
    };
    SetPassObserver(state.range(0) ? &observer : nullptr);
    for (auto _ : state) {
        UpdateAndDraw(container, frameTime);
        TopUp(container, 10000);
    }
    SetPassObserver(nullptr);
    benchmark::DoNotOptimize(timings.Seconds);
}

void BM_StepBreakdown(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    const TParticleEffectContainer container = MakeFloorScene(100);
    for (auto _ : state) {
        TParticleStepBreakdown step = BreakDownParticleStep(container, 42, frameTime);
        benchmark::DoNotOptimize(step);
    }
}

} // namespace

BENCHMARK(BM_PassObserved)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepBreakdown)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
