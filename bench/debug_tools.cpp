// What seeing inside an effect costs: UpdateAndDraw of the floor scene with and without a pass
// observer that times each pass (as the demo's Statistics window does), and the inspector's
// breakdown of one particle's step.

#include "bench/floor_scene.h"
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

struct TTimings {
    std::chrono::steady_clock::time_point Start;
    double Seconds = 0.0;
};

// Arg 0: no observer; arg 1: an observer that times every pass.
void BM_PassObserved(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    TParticleEffectContainer container = bench::MakeFloorScene(10000, bench::TFloorParticles::Plain);
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
        bench::TopUpFloorScene(container, 10000, bench::TFloorParticles::Plain);
    }
    SetPassObserver(nullptr);
    benchmark::DoNotOptimize(timings.Seconds);
}

void BM_StepBreakdown(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SeedRandom(7);
    const TParticleEffectContainer container = bench::MakeFloorScene(100, bench::TFloorParticles::Plain);
    for (auto _ : state) {
        TParticleStepBreakdown step = BreakDownParticleStep(container, 42, frameTime);
        benchmark::DoNotOptimize(step);
    }
}

} // namespace

BENCHMARK(BM_PassObserved)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepBreakdown)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
