// A script's time line: bursts fired by the script's clock, sub-emitters fed by the containers'
// deaths and bounces, the prewarm before the first frame, and restarting and seeking, which bring a
// script back to its start or to a given time by re-running it in fixed steps with nothing drawn.

#include "engine/fixed_steps.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script/script_runtime_detail.h"
#include "script/script_seek.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

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

void AppendRuntimeLine(TParticleScript& script, const std::string& line) {
    std::string& log = script.DebugLog;
    if (!log.empty() && log.back() != '\r') log += '\r';
    log += line + '\r';
}

void LogSubEmitterLimit(TParticleScript& script) {
    if (script.SubEmitterLimitLogged) return;
    script.SubEmitterLimitLogged = true;
    AppendRuntimeLine(script,
                      "Runtime: sub-emitters are held to " + std::to_string(MaxScriptSubParticlesPerStep) +
                          " new particles per frame and " + std::to_string(MaxScriptParticlesPerScript) +
                          " particles per script - further particles are dropped (do particle types "
                          "spawn each other without end?)");
}

/// A number of seconds for a log line, as a person reads it ("2.5", "60").
std::string SecondsText(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

void LogBurstDrop(TParticleScript& script, TScriptBurst& burst, std::size_t type, std::int64_t wanted,
                  std::int64_t made) {
    if (burst.DropLogged) return;
    burst.DropLogged = true;
    AppendRuntimeLine(script, "Runtime: a burst of particle type " + std::to_string(type) + " at " +
                                  SecondsText(double(burst.Time)) + " s dropped " +
                                  std::to_string(wanted - made) + " of " + std::to_string(wanted) +
                                  " particles - the script holds its most particles (" +
                                  std::to_string(MaxScriptParticlesPerType) + " a type, " +
                                  std::to_string(MaxScriptParticlesPerScript) +
                                  " in all); later drops of this burst are not logged");
}

void LogPrewarmStop(TParticleScript& script) {
    if (script.PrewarmStopLogged) return;
    script.PrewarmStopLogged = true;
    AppendRuntimeLine(script, "Runtime: prewarm stopped after " +
                                  SecondsText(SecondsOfSteps(script.PrewarmStepsRun)) + " of " +
                                  SecondsText(double(script.Prewarm)) + " s - it reached its most work (" +
                                  std::to_string(script.PrewarmWorkLimit) +
                                  " particle-steps); the script plays on from there");
}

/// A type that emits at a "rate" of more than nothing.
bool EmitsAtRate(const TScriptLook& look) {
    return look.Used && look.HasRate && look.Rate > 0.0f;
}

/// Steps the script's "prewarm" asks for: whole steps, the nearest to its seconds.
std::int64_t PrewarmSteps(const TParticleScript& script) {
    return StepsForSeconds(double(std::min(script.Prewarm, MaxScriptPrewarmSeconds)));
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
            const std::int64_t made = CreateParticles(script, type, origin, wanted, held);
            if (made < wanted) LogBurstDrop(script, burst, type, wanted, made);
        }
    }
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
    for (std::size_t type = 0; type < std::min(types, script.Look.size()); ++type)
        if (EmitsAtRate(script.Look[type])) return false;
    for (std::size_t type = 0; type < std::min(types, script.Emission.size()); ++type) {
        for (const TScriptBurst& burst : script.Emission[type].Bursts)
            if (std::isfinite(burst.Time) && burst.Fired < BurstTotal(burst) && burst.Count > 0) return false;
    }
    return true;
}

std::optional<double> ScriptLength(const TParticleScript& script) {
    const std::size_t types = script_detail::RunnableTypes(script);
    for (std::size_t type = 0; type < types; ++type)
        if (script.Continuous && ScriptParticlesToEmit(script.Values[type].NumParticles, true, 0) > 0)
            return {};
    for (std::size_t type = 0; type < std::min(types, script.Look.size()); ++type)
        if (EmitsAtRate(script.Look[type])) return {};
    constexpr double None = -std::numeric_limits<double>::infinity();
    std::vector<double> longestLife(types), lastDeath(types, None);
    for (std::size_t type = 0; type < types; ++type) {
        const TScriptLifeRange& life = script.Ranges[type].Life;
        longestLife[type] = std::max(double(life.Base) + std::max(double(life.Spread), 0.0), 0.0);
        if (!std::isfinite(longestLife[type])) return {};
        if (type >= script.Emission.size()) continue;
        for (const TScriptBurst& burst : script.Emission[type].Bursts) {
            if (burst.Count <= 0) continue;
            const double last = double(burst.Time) + double(BurstTotal(burst) - 1) * double(burst.Interval);
            lastDeath[type] = std::max(lastDeath[type], last + longestLife[type]);
        }
    }
    // A sub-emitted particle is born at the latest when the last particle of its owner dies; a chain
    // still growing after as many rounds as there are types goes round.
    for (std::size_t round = 0; round <= types; ++round) {
        bool grew = false;
        for (std::size_t owner = 0; owner < std::min(types, script.Emission.size()); ++owner) {
            if (lastDeath[owner] == None) continue;
            for (const TScriptSubEmitter& sub : script.Emission[owner].SubEmitters) {
                if (sub.Type < 0 || std::size_t(sub.Type) >= types || sub.Count <= 0) continue;
                const double death = lastDeath[owner] + longestLife[std::size_t(sub.Type)];
                if (death > lastDeath[std::size_t(sub.Type)]) {
                    lastDeath[std::size_t(sub.Type)] = death;
                    grew = true;
                }
            }
        }
        if (!grew) break;
        if (round == types) return {};
    }
    if (types == 0) return 0.0;
    const double end = *std::max_element(lastDeath.begin(), lastDeath.end());
    if (end == None) return 0.0;
    if (!std::isfinite(end)) return {};
    return std::max(end - SecondsOfSteps(PrewarmSteps(script)), 0.0);
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
    script_detail::RestartLook(script);
    script.Time = 0.0;
    script.Started = false;
    script.PrewarmStepsLeft = 0;
    script.PrewarmStepsRun = 0;
    script.PrewarmWork = 0;
}

bool ScriptWarmingUp(const TParticleScript& script) {
    return !script.Started || script.PrewarmStepsLeft > 0;
}

std::int64_t RunPrewarmSteps(TParticleScript& script, const TVector3& origin, std::int64_t maxSteps) {
    if (!script.Started) {
        script.Started = true;
        script.PrewarmStepsLeft = PrewarmSteps(script);
        script.PrewarmStepsRun = 0;
        script.PrewarmWork = 0;
    }
    std::int64_t run = 0;
    while (script.PrewarmStepsLeft > 0 && run < maxSteps) {
        script.PrewarmWork += script_detail::StepScript(script, origin, ScriptStepSeconds, false);
        --script.PrewarmStepsLeft;
        ++script.PrewarmStepsRun;
        ++run;
        if (script.PrewarmStepsLeft > 0 && script.PrewarmWork >= script.PrewarmWorkLimit) {
            script.PrewarmStepsLeft = 0;
            LogPrewarmStop(script);
        }
    }
    return run;
}

void FinishPrewarm(TParticleScript& script, const TVector3& origin) {
    while (ScriptWarmingUp(script))
        RunPrewarmSteps(script, origin, MaxFixedSteps);
}

void RunScriptStep(TParticleScript& script, const TVector3& origin) {
    FinishPrewarm(script, origin);
    script_detail::StepScript(script, origin, ScriptStepSeconds, false);
}

double ScriptPlayedSeconds(const TParticleScript& script) {
    if (ScriptWarmingUp(script)) return 0.0;
    // Every prewarm step added the same float to Time, so this is exact.
    return std::max(script.Time - double(script.PrewarmStepsRun) * double(ScriptStepSeconds), 0.0);
}

void SeekScriptSteps(TParticleScript& script, const TVector3& origin, std::int64_t steps,
                     std::uint64_t seed) {
    TScriptSeeker seeker;
    seeker.ByteBudget = 0; // one seek, no checkpoints
    BeginScriptSeek(seeker, script, origin, steps, seed);
    while (!ContinueScriptSeek(seeker, script, MaxFixedSteps)) {
    }
}

void SeekScript(TParticleScript& script, const TVector3& origin, double seconds, std::uint64_t seed,
                float step) {
    seconds = std::isfinite(seconds) ? std::clamp(seconds, 0.0, MaxScriptSeekSeconds) : 0.0;
    if (!(step > 0.0f) || !std::isfinite(step) || step == ScriptStepSeconds) {
        SeekScriptSteps(script, origin, StepsForSeconds(seconds), seed);
        return;
    }
    // Another step length: the nearest whole number of such steps, at most a million.
    constexpr double MostSteps = 1e6;
    const double steps = std::min(std::floor(seconds / double(step) + 0.5), MostSteps);
    RestartScript(script);
    SeedRandom(seed);
    FinishPrewarm(script, origin);
    for (std::int64_t i = 0; i < std::int64_t(steps); ++i)
        script_detail::StepScript(script, origin, step, false);
}

void StopScriptEmission(TParticleScript& script) {
    script.Continuous = false;
    script.PrewarmStepsLeft = 0;
    for (TParticleEffectContainer& container : script.Containers) {
        container.Events.Enabled = false;
        container.Events.Deaths.clear();
        container.Events.Bounces.clear();
    }
    for (TScriptEmission& emission : script.Emission) {
        for (TScriptBurst& burst : emission.Bursts)
            burst.Fired = std::int32_t(std::min<std::int64_t>(BurstTotal(burst), INT32_MAX));
        emission.SubEmitters.clear();
    }
    for (TScriptLook& look : script.Look)
        look.Rate = 0.0f;
}

} // namespace lumidor
