#pragma once
// The particle sweep on eight lanes (AVX2) and on sixteen (AVX-512), each compiled separately with
// its instruction set enabled and chosen at run time when the processor has it. They run the same
// operations per particle as the four-lane sweep, so results are identical.

#include "engine/simulation.h"

#include <vector>

namespace lumidor {

/// SimulateParticles on four lanes, the portable sweep (what runs without AVX2).
std::int32_t SimulateParticlesFourLanes(TParticleEffectContainer& container, float dt,
                                        const TCameraAxes& camera, TParticleVertex* vertices,
                                        const TTaskRunner& runner = TTaskRunner{});

#if LUMIDOR_WIDE_SWEEP
/// True when this processor can run SimulateParticlesWide.
bool WideSweepSupported();
/// SimulateParticles on eight lanes; call only when WideSweepSupported().
std::int32_t SimulateParticlesWide(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                                   TParticleVertex* vertices, const TTaskRunner& runner = TTaskRunner{});
/// SimulateParticlesWide writing the vertices with streaming stores, which do not read the lines they
/// overwrite and leave them out of the caches; vertices not 32-byte aligned take the ordinary sweep.
std::int32_t SimulateParticlesWideStreaming(TParticleEffectContainer& container, float dt,
                                            const TCameraAxes& camera, TParticleVertex* vertices,
                                            const TTaskRunner& runner = TTaskRunner{});
#endif

#if LUMIDOR_SIXTEEN_LANE_SWEEP
/// True when this processor can run SimulateParticlesSixteenLanes.
bool SixteenLaneSweepSupported();
/// SimulateParticles on sixteen lanes; call only when SixteenLaneSweepSupported().
std::int32_t SimulateParticlesSixteenLanes(TParticleEffectContainer& container, float dt,
                                           const TCameraAxes& camera, TParticleVertex* vertices,
                                           const TTaskRunner& runner = TTaskRunner{});
/// SimulateParticlesWideStreaming built with AVX-512's encodings, whose 32 registers keep the eight
/// lanes' values out of the stack; call only when SixteenLaneSweepSupported().
std::int32_t SimulateParticlesWideStreamingAvx512(TParticleEffectContainer& container, float dt,
                                                  const TCameraAxes& camera, TParticleVertex* vertices,
                                                  const TTaskRunner& runner = TTaskRunner{});
#endif

/// A sweep of one width, with SimulateParticles' parameters.
using TSweepFunction = std::int32_t (*)(TParticleEffectContainer&, float, const TCameraAxes&,
                                        TParticleVertex*, const TTaskRunner&);
/// Every width this processor runs, four lanes first (for checking them against each other).
std::vector<TSweepFunction> SupportedSweeps();

} // namespace lumidor
