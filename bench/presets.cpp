// BM_Preset/<slot>: one frame of a built-in preset at dt = 1/60 in steady state, through the
// recording GL fake (vertices written to CPU memory, no call log). Reports the time per frame and
// per live particle. The terrain of the stress test is a synthetic hilly grid of the real size
// (257 x 257 points, 15 units wide), so the collision cost per particle is the real one.

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "engine/random.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace lumidor;

namespace {

void IgnoreMessage(const std::string&, const std::string&, TMessageIcon) {}

void SetUpEffects() {
    InstallGLRecorder();
    GLRecorder().Recording = false;
    SetMessageHandler(&IgnoreMessage); // no atlas file here: the particles draw with texture 0
    ResetEffectsForTesting();
    InitEffects();
    auto grid = std::make_shared<HDataArray>(257, std::vector<float>(257));
    for (int x = 0; x <= 256; ++x) {
        for (int z = 0; z <= 256; ++z) {
            (*grid)[std::size_t(x)][std::size_t(z)] = 4.5f + 0.8f * std::sin(x * 0.05f) * std::cos(z * 0.07f);
        }
    }
    TerrainOrigin = {-7.5f, -5, -7.5f};
    SetCollisionWorld(TerrainEffect, grid, TerrainOrigin, 15.0f / 256, 15.0f / 256);
    SetWorldFriction(TerrainEffect, {0.5f, 0.5f, 0.5f});
    SeedRandom(1);
    FrameTime = 1.0f / 60.0f;
}

std::int64_t LiveParticles() {
    return ParticleCount(FloorEffect) + ParticleCount(AdditiveEffect) + ParticleCount(TerrainEffect);
}

void BM_Preset(benchmark::State& state) {
    const int slot = int(state.range(0));
    SetUpEffects();
    // Ten seconds of frames: every preset reaches its steady population (the longest lives are 8 s).
    for (int frame = 0; frame < 600; ++frame)
        RunEffectSlot(slot, {});
    std::int64_t particleFrames = 0;
    for (auto _ : state) {
        RunEffectSlot(slot, {});
        particleFrames += LiveParticles();
    }
    state.counters["particles"] = benchmark::Counter(double(particleFrames) / double(state.iterations()));
    state.counters["per_particle"] =
        benchmark::Counter(double(particleFrames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(EffectSlotCaption(slot));
    ResetEffectsForTesting();
}

BENCHMARK(BM_Preset)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(7)
    ->Arg(8)
    ->Arg(9)
    ->Arg(10)
    ->Arg(14)
    ->Arg(15)
    ->Arg(16)
    ->Arg(18);

} // namespace

BENCHMARK_MAIN();
