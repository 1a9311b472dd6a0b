// libFuzzer entry point for the script loader, followed by a few frames of the loaded script through
// the recording GL table. Run from data/ so that the seeds' textures load.

#include "engine/gl_recorder.h"
#include "engine/message.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "tests/fuzz/fuzz_input_file.h"

#include <algorithm>
#include <cmath>

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
    const std::string path = fuzzing::WriteInputFile(".psc", data, size);

    TParticleScript script;
    const TScriptLoadReport report = LoadScriptWithReport(script, "fuzz.psc", path);
    const std::size_t types = script.Containers.size();
    if (!report.FileOpened || types > std::size_t(MaxScriptParticleTypes)) __builtin_trap();
    if (script.Values.size() != types || script.Ranges.size() != types || script.Vectors.size() != types ||
        script.VectorRanges.size() != types)
        __builtin_trap();
    if (!script.DebugLog.starts_with("Lumidor ScriptDebugger log\r")) __builtin_trap();
    if (script.DebugLog.size() > MaxScriptLogBytes + 65536 + size) __builtin_trap();
    std::size_t magnets = 0;
    for (const TParticleEffectContainer& container : script.Containers)
        magnets += container.MagnetPoints.size();
    if (magnets > std::size_t(MaxScriptMagnetRecords)) __builtin_trap();
    if ((report.ErrorCount > 0) != script.DebugLog.ends_with(" error(s) detected.")) __builtin_trap();

    for (TScriptValues& values : script.Values) {
        if (!(std::fabs(values.NumParticles) <= FuzzParticlesPerType))
            values.NumParticles = FuzzParticlesPerType;
    }
    for (int frame = 0; frame < 3; ++frame)
        AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 0.05f);
    EmitParticles(script, TVector3{1.0f, 2.0f, 3.0f});
    AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 0.05f);
    ToggleScriptDebug(script);
    AdvanceScript(script, TVector3{0.0f, 0.0f, 0.0f}, 1e30f);
    for (const TParticleEffectContainer& container : script.Containers) {
        if (ParticleCount(container) > 2 * std::int32_t(FuzzParticlesPerType)) __builtin_trap();
    }
    ReleaseScript(script);
    return 0;
}
