#include "app/desktop/benchmark.h"

#include "app/core/effects_startup.h"
#include "app/desktop/main_window.h"
#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/text_effect.h"

#include <SDL.h>

#include <cstdio>

namespace lumidor {

namespace {

double Milliseconds(Uint64 ticks) {
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(SDL_GetPerformanceFrequency());
}

} // namespace

std::int64_t LiveParticles(int slot) {
    std::int64_t count = std::int64_t{ParticleCount(FloorEffect)} + ParticleCount(AdditiveEffect) +
                         ParticleCount(TerrainEffect);
    if (slot == 17) count += ParticleCount(TextFont.Effect);
    if (slot >= 11 && slot <= 13) {
        for (const TParticleEffectContainer& container :
             Scripts[static_cast<std::size_t>(slot - 11)].Containers)
            count += ParticleCount(container);
    }
    return count;
}

std::string BenchmarkHeader() {
    char line[128];
    std::snprintf(line, sizeof line, "%4s  %-28s %9s %10s %10s\n", "slot", "effect", "particles", "engine ms",
                  "total ms");
    return line;
}

std::string BenchmarkLine(const TBenchmarkRow& row) {
    char line[160];
    std::snprintf(line, sizeof line, "%4d  %-28s %9lld %10.3f %10.3f\n", row.Slot, row.Caption.c_str(),
                  static_cast<long long>(row.Particles), row.EngineMs, row.TotalMs);
    return line;
}

int RunBenchmark(TMainWindow& window, const TAppHooks& hooks, const TCommandLine& options) {
    const int timedFrames = options.Frames ? *options.Frames : BenchmarkDefaultFrames;
    TFrameRequest request;
    request.FixedFrameTime = options.FixedFrameTime ? *options.FixedFrameTime : BenchmarkDefaultFrameTime;

    // The effect pass timed on its own; the UI and the swap only count in the total.
    Uint64 engineTicks = 0;
    TAppHooks timed = hooks;
    timed.EffectPass = [&](const TFrameView& view) {
        const Uint64 start = SDL_GetPerformanceCounter();
        if (hooks.EffectPass) hooks.EffectPass(view);
        engineTicks += SDL_GetPerformanceCounter() - start;
    };

    std::printf("%d frames per effect after %d warm-up frames, frame time %.4f s\n%s", timedFrames,
                BenchmarkWarmUpFrames, static_cast<double>(*request.FixedFrameTime),
                BenchmarkHeader().c_str());
    std::fflush(stdout);
    for (int slot = 0; slot < EffectSlotCount; ++slot) {
        FloorEffect.Particles.clear();
        AdditiveEffect.Particles.clear();
        TerrainEffect.Particles.clear();
        CurrentEffect = slot;
        for (int frame = 0; frame < BenchmarkWarmUpFrames; ++frame) {
            if (!PumpUnattendedEvents(window)) return 0;
            DrawFrame(window, timed, request);
        }
        engineTicks = 0;
        Uint64 totalTicks = 0;
        for (int frame = 0; frame < timedFrames; ++frame) {
            if (!PumpUnattendedEvents(window)) return 0;
            const Uint64 start = SDL_GetPerformanceCounter();
            DrawFrame(window, timed, request);
            totalTicks += SDL_GetPerformanceCounter() - start;
        }
        TBenchmarkRow row;
        row.Slot = slot;
        row.Caption = EffectSlotCaption(slot);
        row.Particles = LiveParticles(slot);
        row.EngineMs = Milliseconds(engineTicks) / timedFrames;
        row.TotalMs = Milliseconds(totalTicks) / timedFrames;
        std::fputs(BenchmarkLine(row).c_str(), stdout);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace lumidor
