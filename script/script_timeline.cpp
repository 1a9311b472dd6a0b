// A script's time line: bursts fired by the script's clock, sub-emitters fed by the containers'
// deaths and bounces, the prewarm before the first frame, and restarting and seeking, which bring a
// script back to its start or to a given time by re-running it in fixed steps with nothing drawn.

#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace lumidor {

namespace {

/// How many times `burst` fires in all.
std::int64_t BurstTotal(const TScriptBurst& burst) {
    return burst.Repeats > 0 && burst.Interval > 0.0f ? std::int64_t(burst.Repeats) + 1 : 1;
}

/// How many of the burst's firings lie at or before `time`.
std::int64_t BurstsDue(const TScriptBurst& burst, double time) {
    if (!(time >= double(burst.Time))) return 0;
    const std::int64_t total = BurstTotal(burst);
    if (total == 1) return 1;
    // Worked out in doubles and compared before converting, so a huge time cannot overflow.
    const double repeatsDone = std::floor((time - double(burst.Time)) / double(burst.Interval));
    return repeatsDone >= double(total - 1) ? total : std::int64_t(repeatsDone) + 1;
}

void LogSubEmitterLimit(TParticleScript& script) {
    if (script.SubEmitterLimitLogged) return;
    script.SubEmitterLimitLogged = true;
    std::string& log = script.DebugLog;
    if (!log.empty() && log.back() != '\r') log += '\r';
    log += "Runtime: sub-emitters are held to " + std::to_string(MaxScriptSubParticlesPerStep) +
           " new particles per frame and " + std::to_string(MaxScriptParticlesPerScript) +
           " particles per script - further particles are dropped (do particle types spawn each "
           "other without end?)\r";
}

/// Runs `seconds` in steps of `step` (the last one shorter when needed), drawing nothing.
void RunFixedSteps(TParticleScript& script, const TVector3& origin, double seconds, float step) {
    // A tolerance on the count, so that seconds = n * step (with the rounding of a float step, such as
    // 1/60) gives n full steps and no sliver.
    constexpr double Tolerance = 1e-4;
    const auto fullSteps = std::int64_t(std::floor(seconds / double(step) + Tolerance));
    for (std::int64_t i = 0; i < fullSteps; ++i)
        script_detail::StepScript(script, origin, step, false);
    const double rest = seconds - double(fullSteps) * double(step);
    if (rest > Tolerance * double(step)) script_detail::StepScript(script, origin, float(rest), false);
}

} // namespace

namespace script_detail {

void FireBursts(TParticleScript& script, const TVector3& origin) {
    const std::size_t types = std::min(RunnableTypes(script), script.Emission.size());
    std::int64_t held = -1;
    for (std::size_t type = 0; type < types; ++type) {
        for (TScriptBurst& burst : script.Emission[type].Bursts) {
            const std::int64_t due = BurstsDue(burst, script.Time);
            if (due <= burst.Fired) continue;
            if (held < 0) held = ParticlesHeld(script);
            const std::int64_t wanted = (due - burst.Fired) * std::max<std::int64_t>(burst.Count, 0);
            burst.Fired = std::int32_t(std::min<std::int64_t>(due, INT32_MAX));
            CreateParticles(script, type, origin, wanted, held);
        }
    }
}

void StartScript(TParticleScript& script, const TVector3& origin) {
    script.Started = true;
    const float prewarm = std::min(script.Prewarm, MaxScriptPrewarmSeconds);
    if (prewarm > 0.0f) RunFixedSteps(script, origin, prewarm, ScriptStepSeconds);
}

} // namespace script_detail

void RunSubEmitters(TParticleScript& script) {
    const std::size_t types = script_detail::RunnableTypes(script);
    const std::size_t owners = std::min(types, script.Emission.size());
    std::int64_t budget = MaxScriptSubParticlesPerStep;
    std::int64_t held = -1;
    bool limited = false;
    for (std::size_t owner = 0; owner < owners; ++owner) {
        for (const TScriptSubEmitter& sub : script.Emission[owner].SubEmitters) {
            if (sub.Type < 0 || std::size_t(sub.Type) >= types || sub.Count <= 0) continue;
            const TParticleEventLog& events = script.Containers[owner].Events;
            const std::vector<TParticleEvent>& list =
                sub.Event == TScriptEvent::Death ? events.Deaths : events.Bounces;
            if (list.empty()) continue;
            if (held < 0) held = script_detail::ParticlesHeld(script);
            for (const TParticleEvent& event : list) {
                // The event's place stands in for the origin: the target type's own "position" box or
                // shape is laid around it.
                const std::int64_t made =
                    script_detail::CreateParticles(script, std::size_t(sub.Type), event.Position,
                                                   std::min<std::int64_t>(sub.Count, budget), held);
                budget -= made;
                if (made < sub.Count) limited = true;
            }
        }
    }
    if (limited) LogSubEmitterLimit(script);
}

bool ScriptFinished(const TParticleScript& script) {
    for (const TParticleEffectContainer& container : script.Containers)
        if (!container.Particles.empty()) return false;
    const std::size_t types = script_detail::RunnableTypes(script);
    if (script.Continuous) {
        for (std::size_t type = 0; type < types; ++type)
            if (ScriptParticlesToEmit(script.Values[type].NumParticles, true, 0) > 0) return false;
    }
    for (std::size_t type = 0; type < std::min(types, script.Emission.size()); ++type) {
        for (const TScriptBurst& burst : script.Emission[type].Bursts)
            if (std::isfinite(burst.Time) && burst.Fired < BurstTotal(burst) && burst.Count > 0) return false;
    }
    return true;
}

void RestartScript(TParticleScript& script) {
    for (TParticleEffectContainer& container : script.Containers) {
        container.Particles.clear();
        container.Events.Deaths.clear();
        container.Events.Bounces.clear();
    }
    for (TScriptEmission& emission : script.Emission)
        for (TScriptBurst& burst : emission.Bursts)
            burst.Fired = 0;
    script.Time = 0.0;
    script.Started = false;
}

void SeekScript(TParticleScript& script, const TVector3& origin, double seconds, std::uint64_t seed,
                float step) {
    RestartScript(script);
    SeedRandom(seed);
    script_detail::StartScript(script, origin);
    seconds = std::isfinite(seconds) ? std::clamp(seconds, 0.0, MaxScriptSeekSeconds) : 0.0;
    if (!(step > 0.0f) || !std::isfinite(step)) step = ScriptStepSeconds;
    step = std::max(step, float(seconds / 1e6));
    RunFixedSteps(script, origin, seconds, step);
}

void StopScriptEmission(TParticleScript& script) {
    script.Continuous = false;
    for (TScriptEmission& emission : script.Emission) {
        for (TScriptBurst& burst : emission.Bursts)
            burst.Fired = std::int32_t(std::min<std::int64_t>(BurstTotal(burst), INT32_MAX));
        emission.SubEmitters.clear();
    }
}

} // namespace lumidor
