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
/// One step of dt seconds: top-up, bursts, the pass over every container (drawn when `draw`, else
/// only simulated), sub-emitters, and the clock. Returns the particles the passes swept.
std::int64_t StepScript(TParticleScript& script, const TVector3& origin, float dt, bool draw);

} // namespace lumidor::script_detail
