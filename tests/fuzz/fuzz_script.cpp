// libFuzzer entry point for the script loader followed by a few frames of the loaded script through
// the recording GL table, on the input's bytes in memory. Run it in the folder of small textures that
// lumidor_fuzz_seeds writes (run-fuzzers.sh does), where the seeds' "loadtexture" files are found.

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "tests/fuzz/fuzz_script_checks.h"

#include <algorithm>
#include <cmath>
#include <string_view>

using namespace lumidor;

namespace {

void IgnoreMessage(const std::string&, const std::string&, TMessageIcon) {}

// Particle targets are clamped for the frames so that an input runs in milliseconds; the loader's own
// limits (types, magnets, log) are what is under test, with every other value as the input gave it.
constexpr float FuzzParticlesPerType = 200.0f;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SetMessageHandler(IgnoreMessage);
    InstallGLRecorder().Recording = false;
    SeedRandom(1);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    TParticleScript script;
    const TScriptLoadReport report = LoadScriptFromText(script, "fuzz.psc", text);
    fuzzing::CheckFreshLoad(script, report, text, "fuzz.psc");

    for (TScriptValues& values : script.Values) {
        if (!(std::fabs(values.NumParticles) <= FuzzParticlesPerType))
            values.NumParticles = FuzzParticlesPerType;
    }
    // Bursts and sub-emitters are held as small, and the prewarm to a few steps.
    std::int64_t burstParticles = 0;
    bool anySubEmitter = false;
    for (TScriptEmission& emission : script.Emission) {
        for (TScriptBurst& burst : emission.Bursts) {
            burst.Count = std::min(burst.Count, std::int32_t(FuzzParticlesPerType));
            burst.Repeats = std::min(burst.Repeats, 1);
            burstParticles += std::int64_t(burst.Count) * (burst.Repeats + 1);
        }
        for (TScriptSubEmitter& sub : emission.SubEmitters)
            sub.Count = std::min(sub.Count, 2);
        anySubEmitter = anySubEmitter || !emission.SubEmitters.empty();
    }
    script.Prewarm = std::min(script.Prewarm, 0.1f);
    for (int frame = 0; frame < 3; ++frame)
        AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 0.05f);
    EmitParticles(script, TVector3{1.0f, 2.0f, 3.0f});
    AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 0.05f);
    ToggleScriptDebug(script);
    AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 1e30f);
    for (const TParticleEffectContainer& container : script.Containers) {
        // Top-ups and bursts; sub-emitters multiply from frame to frame, so with them only the
        // runtime's own cap holds.
        const std::int64_t bound = anySubEmitter ? MaxScriptParticlesPerType
                                                 : 2 * std::int64_t(FuzzParticlesPerType) + burstParticles;
        if (ParticleCount(container) > bound) __builtin_trap();
    }
    ReleaseScript(script);
    return 0;
}
