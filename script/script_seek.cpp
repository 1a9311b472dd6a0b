// Seeks in slices with checkpoints (script_seek.h). A checkpoint holds everything a step changes: the
// containers' particles and events, the bursts fired, the looks' rate carries and last origins, the
// clock, the prewarm's progress and the random generator; so a run from a checkpoint repeats the run from the
// start bit for bit.

#include "script/script_seek.h"

#include "script/script_runtime_detail.h"

#include <algorithm>

namespace lumidor {

namespace {

TScriptCheckpoint TakeCheckpoint(const TParticleScript& script, std::int64_t step) {
    TScriptCheckpoint checkpoint;
    checkpoint.Step = step;
    checkpoint.Time = script.Time;
    checkpoint.PrewarmStepsLeft = script.PrewarmStepsLeft;
    checkpoint.PrewarmStepsRun = script.PrewarmStepsRun;
    checkpoint.PrewarmWork = script.PrewarmWork;
    checkpoint.Random = SaveRandom();
    std::size_t bytes = sizeof(TScriptCheckpoint);
    for (const TParticleEffectContainer& container : script.Containers) {
        checkpoint.Particles.push_back(container.Particles);
        checkpoint.Events.push_back(container.Events);
        bytes += container.Particles.size() * sizeof(TParticle) +
                 (container.Events.Deaths.size() + container.Events.Bounces.size()) * sizeof(TParticleEvent);
    }
    for (const TScriptEmission& emission : script.Emission)
        for (const TScriptBurst& burst : emission.Bursts)
            checkpoint.BurstsFired.push_back(burst.Fired);
    for (const TScriptLook& look : script.Look)
        checkpoint.Looks.push_back(
            TScriptLookCheckpoint{look.RateCarry, look.HasLastOrigin, look.LastOrigin});
    checkpoint.Bytes = bytes + checkpoint.BurstsFired.size() * sizeof(std::int32_t) +
                       checkpoint.Looks.size() * sizeof(TScriptLookCheckpoint);
    return checkpoint;
}

void RestoreCheckpoint(TParticleScript& script, const TScriptCheckpoint& checkpoint) {
    for (std::size_t i = 0; i < script.Containers.size() && i < checkpoint.Particles.size(); ++i) {
        script.Containers[i].Particles = checkpoint.Particles[i];
        script.Containers[i].Events = checkpoint.Events[i];
    }
    std::size_t next = 0;
    for (TScriptEmission& emission : script.Emission)
        for (TScriptBurst& burst : emission.Bursts)
            if (next < checkpoint.BurstsFired.size()) burst.Fired = checkpoint.BurstsFired[next++];
    for (std::size_t i = 0; i < script.Look.size() && i < checkpoint.Looks.size(); ++i) {
        script.Look[i].RateCarry = checkpoint.Looks[i].RateCarry;
        script.Look[i].HasLastOrigin = checkpoint.Looks[i].HasLastOrigin;
        script.Look[i].LastOrigin = checkpoint.Looks[i].LastOrigin;
    }
    script.Time = checkpoint.Time;
    script.Started = true;
    script.PrewarmStepsLeft = checkpoint.PrewarmStepsLeft;
    script.PrewarmStepsRun = checkpoint.PrewarmStepsRun;
    script.PrewarmWork = checkpoint.PrewarmWork;
    RestoreRandom(checkpoint.Random);
}

/// Keeps every other checkpoint and doubles the spacing: the budget then holds twice the time span.
void ThinCheckpoints(TScriptSeeker& seeker) {
    seeker.Spacing *= 2;
    std::vector<TScriptCheckpoint> kept;
    seeker.BytesHeld = 0;
    for (TScriptCheckpoint& checkpoint : seeker.Checkpoints) {
        if (checkpoint.Step % seeker.Spacing != 0) continue;
        seeker.BytesHeld += checkpoint.Bytes;
        kept.push_back(std::move(checkpoint));
    }
    seeker.Checkpoints = std::move(kept);
}

void MaybeTakeCheckpoint(TScriptSeeker& seeker, const TParticleScript& script) {
    if (seeker.Position % seeker.Spacing != 0) return;
    if (!seeker.Checkpoints.empty() && seeker.Checkpoints.back().Step >= seeker.Position) return;
    TScriptCheckpoint checkpoint = TakeCheckpoint(script, seeker.Position);
    if (checkpoint.Bytes > seeker.ByteBudget) return;
    while (seeker.BytesHeld + checkpoint.Bytes > seeker.ByteBudget && !seeker.Checkpoints.empty()) {
        ThinCheckpoints(seeker);
        if (seeker.Position % seeker.Spacing != 0) return;
    }
    seeker.BytesHeld += checkpoint.Bytes;
    seeker.Checkpoints.push_back(std::move(checkpoint));
}

bool AtTarget(const TScriptSeeker& seeker, const TParticleScript& script) {
    return !ScriptWarmingUp(script) && seeker.Position - script.PrewarmStepsRun >= seeker.Target;
}

} // namespace

void ClearScriptCheckpoints(TScriptSeeker& seeker) {
    const std::size_t budget = seeker.ByteBudget;
    seeker = TScriptSeeker{};
    seeker.ByteBudget = budget;
}

void BeginScriptSeek(TScriptSeeker& seeker, TParticleScript& script, const TVector3& origin,
                     std::int64_t steps, std::uint64_t seed) {
    const bool sameRun = seeker.Keyed && seeker.Seed == seed && seeker.Origin.x == origin.x &&
                         seeker.Origin.y == origin.y && seeker.Origin.z == origin.z;
    if (!sameRun) {
        ClearScriptCheckpoints(seeker);
        seeker.Keyed = true;
        seeker.Seed = seed;
        seeker.Origin = origin;
    }
    seeker.Active = true;
    seeker.Target = std::clamp<std::int64_t>(steps, 0, MaxFixedSteps);
    // The latest checkpoint that does not lie beyond the target: one still in the prewarm always
    // qualifies, one after it when its steps of play do not pass the target.
    const TScriptCheckpoint* from = nullptr;
    for (const TScriptCheckpoint& checkpoint : seeker.Checkpoints) {
        const bool warming = checkpoint.PrewarmStepsLeft > 0;
        if (warming || checkpoint.Step - checkpoint.PrewarmStepsRun <= seeker.Target) from = &checkpoint;
    }
    if (from) {
        RestoreCheckpoint(script, *from);
        seeker.Position = from->Step;
    } else {
        RestartScript(script);
        SeedRandom(seed);
        seeker.Position = 0;
    }
    seeker.Random = SaveRandom();
}

bool ContinueScriptSeek(TScriptSeeker& seeker, TParticleScript& script, std::int64_t maxSteps) {
    if (!seeker.Active) return true;
    RestoreRandom(seeker.Random);
    for (std::int64_t run = 0; run < maxSteps; ++run) {
        if (!script.Started) RunPrewarmSteps(script, seeker.Origin, 0); // starts it: no step
        if (AtTarget(seeker, script)) break;
        if (ScriptWarmingUp(script)) {
            RunPrewarmSteps(script, seeker.Origin, 1);
        } else {
            script_detail::StepScript(script, seeker.Origin, ScriptStepSeconds, false);
        }
        ++seeker.Position;
        MaybeTakeCheckpoint(seeker, script);
    }
    if (!script.Started) RunPrewarmSteps(script, seeker.Origin, 0);
    seeker.Random = SaveRandom();
    if (!AtTarget(seeker, script)) return false;
    seeker.Active = false;
    return true;
}

double ScriptSeekProgress(const TScriptSeeker& seeker, const TParticleScript& script) {
    if (!seeker.Active) return 1.0;
    const std::int64_t prewarm =
        script.Started ? script.PrewarmStepsRun + script.PrewarmStepsLeft
                       : StepsForSeconds(double(std::min(script.Prewarm, MaxScriptPrewarmSeconds)));
    const std::int64_t total = std::max<std::int64_t>(prewarm + seeker.Target, 1);
    return std::clamp(double(seeker.Position) / double(total), 0.0, 1.0);
}

} // namespace lumidor
