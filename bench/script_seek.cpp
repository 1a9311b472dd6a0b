// BM_SeekScript/<script>/<seconds>: what the Timeline window's slider costs, bringing a script from
// its start to a time in fixed steps of 1/60 s with nothing drawn, as the demo seeks. The scripts
// are the demo's own, read from data/ (textures are not needed for stepping).
// BM_SeekWithCheckpoints/<script>/<tenths of a second>: a seek of the Timeline's 60 s slider once one
// pass to its end has left the checkpoints behind, as the demo seeks back and forth.
// BM_CreateScriptParticles/<n>/<fresh>: creating n particles of the stress-test script's first type at once,
// as a prewarm, a burst or a seek's top-up does, into storage kept from before or (fresh) none.

#include "script/script_seek.h"
#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

using namespace lumidor;

namespace {

const std::array<const char*, 6> kScripts = {
    "scripts/ParticleScript1.psc",   "scripts/ParticleScript2.psc",   "scripts/ParticleScript3.psc",
    "scripts/examples/firework.psc", "scripts/examples/campfire.psc", "scripts/examples/explosion.psc"};

void IgnoreMessage(const std::string&, const std::string&, TMessageIcon) {}

void BM_SeekScript(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SetMessageHandler(&IgnoreMessage);
    const std::string name = kScripts[std::size_t(state.range(0))];
    TParticleScript script;
    LoadScript(script, std::string(LUMIDOR_DATA_DIR "/") + name);
    const double seconds = double(state.range(1));
    std::int64_t particles = 0;
    for (auto _ : state) {
        SeekScript(script, {0, 0, 0}, seconds, 1);
        state.PauseTiming();
        particles = 0;
        for (const TParticleEffectContainer& container : script.Containers)
            particles += ParticleCount(container);
        state.ResumeTiming();
    }
    state.counters["particles_after"] = double(particles);
    state.SetLabel(name);
    ReleaseScript(script);
}

BENCHMARK(BM_SeekScript)->ArgsProduct({{0, 1, 2, 3, 4, 5}, {10, 60}})->Unit(benchmark::kMillisecond);

void BM_SeekWithCheckpoints(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SetMessageHandler(&IgnoreMessage);
    const std::string name = kScripts[std::size_t(state.range(0))];
    TParticleScript script;
    LoadScript(script, std::string(LUMIDOR_DATA_DIR "/") + name);
    TScriptSeeker seeker;
    BeginScriptSeek(seeker, script, {0, 0, 0}, 60 * StepsPerSecond, 1);
    while (!ContinueScriptSeek(seeker, script, MaxFixedSteps)) {
    }
    const std::int64_t target = StepsForSeconds(double(state.range(1)) / 10.0);
    for (auto _ : state) {
        BeginScriptSeek(seeker, script, {0, 0, 0}, target, 1);
        while (!ContinueScriptSeek(seeker, script, MaxFixedSteps)) {
        }
    }
    state.counters["checkpoint_MiB"] = double(seeker.BytesHeld) / double(1 << 20);
    state.counters["spacing_steps"] = double(seeker.Spacing);
    state.SetLabel(name);
    ReleaseScript(script);
}
// The worst case lies just before a checkpoint: 59 steps to run from the one before.
BENCHMARK(BM_SeekWithCheckpoints)
    ->ArgsProduct({{2}, {5, 125, 339, 599}})
    ->Args({0, 599})
    ->Unit(benchmark::kMillisecond);

void BM_CreateScriptParticles(benchmark::State& state) {
    InstallGLRecorder().Recording = false;
    SetMessageHandler(&IgnoreMessage);
    TParticleScript script;
    LoadScript(script, std::string(LUMIDOR_DATA_DIR "/") + kScripts[2]);
    const std::int64_t count = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        // Arg 1: 0 keeps the storage (a seek's restart clears it), 1 starts from none.
        for (TParticleEffectContainer& container : script.Containers) {
            if (state.range(1))
                container.Particles = TParticleArray{};
            else
                container.Particles.clear();
        }
        std::int64_t held = 0;
        state.ResumeTiming();
        benchmark::DoNotOptimize(script_detail::CreateParticles(script, 0, {0, 0, 0}, count, held));
    }
    state.counters["ns_per_particle"] =
        benchmark::Counter(double(count) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    ReleaseScript(script);
}

BENCHMARK(BM_CreateScriptParticles)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
