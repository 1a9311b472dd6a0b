#pragma once
// What the script runtime's two halves share: particle creation within the caps, one step of a
// script, and its start (the prewarm). Not part of the public interface.

#include "script/particle_script.h"

#include <cstddef>
#include <cstdint>

namespace lumidor::script_detail {

/// Particle types the runtime can create particles for: those with a container and every settings
/// record (a hand-built record may hold fewer of some).
std::size_t RunnableTypes(const TParticleScript& script);
/// Particles all containers of the script hold.
std::int64_t ParticlesHeld(const TParticleScript& script);
/// Creates up to `wanted` particles of `type` at `origin`, one after the other, within
/// MaxScriptParticlesPerType and, with `held` the script's particle total (kept up to date),
/// MaxScriptParticlesPerScript. Returns how many were created.
std::int64_t CreateParticles(TParticleScript& script, std::size_t type, const TVector3& origin,
                             std::int64_t wanted, std::int64_t& held);
/// Creates the particles of every burst whose time the script's Time has reached.
void FireBursts(TParticleScript& script, const TVector3& origin);
/// The origin the script's particles are born at this step: the host's origin plus the emitter path's
/// offset at the script's Time (the host's origin itself for a still path).
TVector3 ScriptOrigin(const TParticleScript& script, const TVector3& origin);
/// The type's look when it uses one of its commands, else null.
const TScriptLook* UsedLook(const TParticleScript& script, std::size_t type);
/// Before a step's births and passes: carries the particles of "local" types by the origin's move
/// since the last step, hands each used look's settings to its container (with the vortex centred on
/// `origin`, the flow's time from the script's clock and each trailing type's share of
/// MaxScriptTrailPoints), and lays the script's "ground" under `origin` for every type.
void PrepareLook(TParticleScript& script, const TVector3& origin);
/// Births of the types with a "rate": floor(carry + rate x dt) each, the fraction carried on, within
/// a particle count above 0 and the caps. A dt that is not a positive number emits nothing.
void EmitAtRate(TParticleScript& script, const TVector3& origin, float dt);
/// The looks' runtime state back to the start (no carry, no last origin).
void RestartLook(TParticleScript& script);

/// The plane discs and rings lie in: the horizontal x-z plane unless Tilted, then spanned by U and V.
struct TDiscPlane {
    bool Tilted = false; ///< "shapeaxis" names another normal than up
    TVector3 U;          ///< unit vector in the plane (the angle's cosine goes along it)
    TVector3 V;          ///< unit vector in the plane, U x normal (the angle's sine goes along it)
};
/// The plane of the type's discs and rings, worked out once per batch of births.
TDiscPlane MakeDiscPlane(const TScriptLook* look);

/// One step of dt seconds: top-up, bursts, the pass over every container (drawn when `draw`, else
/// only simulated), sub-emitters, and the clock. Returns the particles the passes swept.
std::int64_t StepScript(TParticleScript& script, const TVector3& origin, float dt, bool draw);

} // namespace lumidor::script_detail
