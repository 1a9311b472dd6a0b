#pragma once
// The particle sweep on eight lanes (AVX2), compiled separately with AVX2 enabled and chosen at run
// time when the processor has it. It runs the same operations per particle as the four-lane sweep,
// so results are identical.

#include "engine/simulation.h"

namespace lumidor {

/// SimulateParticles on four lanes, the portable sweep (what runs without AVX2).
std::int32_t SimulateParticlesFourLanes(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                        TParticleVertex* vertices, const TTaskRunner& runner = TTaskRunner{});

#if LUMIDOR_WIDE_SWEEP
/// True when this processor can run SimulateParticlesWide.
bool WideSweepSupported();
/// SimulateParticles on eight lanes; call only when WideSweepSupported().
std::int32_t SimulateParticlesWide(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                   TParticleVertex* vertices, const TTaskRunner& runner = TTaskRunner{});
#endif

} // namespace lumidor
