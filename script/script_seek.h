#pragma once
// Seeking a script a slice at a time, with checkpoints. A seek re-runs the script from its start in
// fixed steps, which is what makes it reproducible; checkpoints of the script's state taken on the
// way (every Spacing steps, within a memory budget) let a later seek start from the nearest one
// instead, with the same bits as a seek from the start. A host runs a seek in slices over several
// frames, so a long one never holds a frame, and can drop it for another at any slice.

#include "../engine/particle_array.h"
#include "../engine/particle_life.h"
#include "../engine/random.h"
#include "../engine/vector.h"
#include "particle_script.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumidor {

/// Steps between two checkpoints at first (one second); doubled whenever the budget is full.
inline constexpr std::int64_t ScriptCheckpointSpacing = 60;
/// Most bytes the checkpoints of one seeker hold (particles and events, counted by their records).
inline constexpr std::size_t MaxScriptCheckpointBytes = std::size_t(256) << 20;

/// The runtime state of one type's look: what "rate" carries and where "local" last saw the origin.
struct TScriptLookCheckpoint {
    double RateCarry = 0.0;     ///< TScriptLook::RateCarry
    bool HasLastOrigin = false; ///< TScriptLook::HasLastOrigin
    TVector3 LastOrigin;        ///< TScriptLook::LastOrigin
};

/// A script's whole runtime state after `Step` fixed steps since its start (prewarm included).
struct TScriptCheckpoint {
    std::int64_t Step = 0;                    ///< steps since the start, prewarm steps included
    std::vector<TParticleArray> Particles;    ///< each container's particles
    std::vector<TParticleEventLog> Events;    ///< each container's events of the last pass
    std::vector<std::int32_t> BurstsFired;    ///< every burst's Fired, types and bursts in order
    std::vector<TScriptLookCheckpoint> Looks; ///< each type's look state
    double Time = 0.0;                        ///< the script's Time
    std::int64_t PrewarmStepsLeft = 0;        ///< as the script held them
    std::int64_t PrewarmStepsRun = 0;         ///< as the script held them
    std::int64_t PrewarmWork = 0;             ///< as the script held it
    TRandomState Random;                      ///< the random generator after the step
    std::size_t Bytes = 0;                    ///< what the checkpoint holds, by record size
};

/// The checkpoints of one script and the seek in progress; value-initialised: none, idle.
struct TScriptSeeker {
    std::vector<TScriptCheckpoint> Checkpoints;        ///< in increasing Step
    std::int64_t Spacing = ScriptCheckpointSpacing;    ///< steps between checkpoints
    std::size_t BytesHeld = 0;                         ///< sum of the checkpoints' Bytes
    std::size_t ByteBudget = MaxScriptCheckpointBytes; ///< most bytes the checkpoints may hold
    bool Keyed = false;                                ///< checkpoints belong to the seed and origin below
    std::uint64_t Seed = 0;                            ///< the seed the checkpoints' run started with
    TVector3 Origin;                                   ///< the origin the checkpoints' run was made at
    bool Active = false;                               ///< a seek is under way
    std::int64_t Target = 0;   ///< steps of play the seek brings the script to (prewarm not counted)
    std::int64_t Position = 0; ///< steps the script has run since its start, prewarm included
    TRandomState Random;       ///< the generator between two slices, so other draws do not disturb a seek
};

/// Forgets every checkpoint (the script was reloaded or changed) and any seek under way; the budget stays.
void ClearScriptCheckpoints(TScriptSeeker& seeker);
/// Starts a seek of `script` to `steps` steps of play (clamped to 0 .. MaxFixedSteps) for `seed` at
/// `origin`: from the latest checkpoint at or before it when there is one for this seed and origin,
/// else from a restart with SeedRandom(seed). Replaces a seek under way. Runs no step.
void BeginScriptSeek(TScriptSeeker& seeker, TParticleScript& script, const TVector3& origin,
                     std::int64_t steps, std::uint64_t seed);
/// Runs up to `maxSteps` steps of the seek under way (prewarm steps count), taking checkpoints on the
/// way; true once the script stands at its target (the seeker is then idle, and the random generator
/// is where a seek from the start leaves it). True at once when no seek is under way.
bool ContinueScriptSeek(TScriptSeeker& seeker, TParticleScript& script, std::int64_t maxSteps);
/// How far the seek under way has come, 0 .. 1 (by steps; a prewarm's steps are counted as they run).
double ScriptSeekProgress(const TScriptSeeker& seeker, const TParticleScript& script);

} // namespace lumidor
