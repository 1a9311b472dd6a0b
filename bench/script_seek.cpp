// BM_SeekScript/<script>/<seconds>: what the Timeline window's slider costs, bringing a script from
// its start to a time in fixed steps of 1/60 s with nothing drawn, as the demo seeks. The scripts
// are the demo's own, read from data/ (textures are not needed for stepping).

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "script/particle_script.h"

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

} // namespace

BENCHMARK_MAIN();
