#pragma once
// The sweep's variants: four lanes (SSE, the baseline), eight (AVX2) with plain or streaming vertex
// stores, and sixteen (AVX-512), each instruction set in a translation unit of its own
// (engine/sweep_*.cpp) and chosen at run time from a table by the processor, the particle count and
// the vertex buffer. All run the same physics per particle, so results are identical.

#include "engine/simulation.h"
#include "engine/sweep_schedule.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumidor {

/// A sweep of one width, with SimulateParticles' parameters.
using TSweepFunction = std::int32_t (*)(TParticleEffectContainer&, float, const TCameraAxes&,
                                        TParticleVertex*, const TTaskRunner&);
/// A sweep of one width with its scratch given.
using TContextSweepFunction = std::int32_t (*)(TSweepContext&, TParticleEffectContainer&, float,
                                               const TCameraAxes&, TParticleVertex*, const TTaskRunner&);
/// The still pass of one width with its scratch given (WriteStillVertices' parameters).
using TStillSweepFunction = std::int32_t (*)(TSweepContext&, TParticleEffectContainer&, const TCameraAxes&,
                                             TParticleVertex*, TDebugLine*, const TTaskRunner&);

/// One entry of the sweep table.
struct TSweepVariant {
    const char* Name;          ///< for messages and benchmarks
    int Lanes;                 ///< particles stepped at once
    bool Streaming;            ///< writes vertices with streaming stores (needs vertices to write)
    std::size_t MinParticles;  ///< chosen from this many particles on
    std::size_t MaxParticles;  ///< and up to this many
    bool (*Supported)();       ///< whether this processor runs it
    TContextSweepFunction Run; ///< the sweep
    TSweepFunction RunOnThisThreadsContext; ///< the sweep with the calling thread's scratch
    TStillSweepFunction Still;              ///< the still pass (WriteStillVertices) of the same build
};

/// Every variant built into this binary, in order of preference; the last (four lanes) runs anywhere.
std::span<const TSweepVariant> SweepVariants();
/// The first supported variant whose particle range holds `count` (streaming ones only with vertices).
const TSweepVariant& ChooseSweep(std::size_t count, const TParticleVertex* vertices);
/// The scratch of sweeps run on this thread without one of their own.
TSweepContext& ThisThreadsSweepContext();

/// SimulateParticles with its scratch given: the one context is not used by two sweeps at once.
std::int32_t SimulateParticles(TSweepContext& context, TParticleEffectContainer& container, float dt,
                               const TCameraAxes& camera, TParticleVertex* vertices,
                               const TTaskRunner& runner);

/// SimulateParticles on four lanes, the portable sweep (what runs without AVX2).
std::int32_t SimulateParticlesFourLanes(TParticleEffectContainer& container, float dt,
                                        const TCameraAxes& camera, TParticleVertex* vertices,
                                        const TTaskRunner& runner = TTaskRunner{});
/// Every width this processor runs, four lanes first (for checking them against each other).
std::vector<TSweepFunction> SupportedSweeps();

// The variants' entries, one block per instruction set (call each only where its Supported says so).
std::int32_t SweepFourLanes(TSweepContext&, TParticleEffectContainer&, float, const TCameraAxes&,
                            TParticleVertex*, const TTaskRunner&);
std::int32_t StillSweepFourLanes(TSweepContext&, TParticleEffectContainer&, const TCameraAxes&,
                                 TParticleVertex*, TDebugLine*, const TTaskRunner&);
#if LUMIDOR_WIDE_SWEEP
bool WideSweepSupported();
std::int32_t SweepEightLanes(TSweepContext&, TParticleEffectContainer&, float, const TCameraAxes&,
                             TParticleVertex*, const TTaskRunner&);
/// Vertices not 32-byte aligned take SweepEightLanes.
std::int32_t SweepEightLanesStreaming(TSweepContext&, TParticleEffectContainer&, float, const TCameraAxes&,
                                      TParticleVertex*, const TTaskRunner&);
std::int32_t StillSweepEightLanes(TSweepContext&, TParticleEffectContainer&, const TCameraAxes&,
                                  TParticleVertex*, TDebugLine*, const TTaskRunner&);
/// Vertices not 32-byte aligned take StillSweepEightLanes.
std::int32_t StillSweepEightLanesStreaming(TSweepContext&, TParticleEffectContainer&, const TCameraAxes&,
                                           TParticleVertex*, TDebugLine*, const TTaskRunner&);
#endif
#if LUMIDOR_SIXTEEN_LANE_SWEEP
bool SixteenLaneSweepSupported();
std::int32_t SweepSixteenLanes(TSweepContext&, TParticleEffectContainer&, float, const TCameraAxes&,
                               TParticleVertex*, const TTaskRunner&);
/// The eight-lane streaming sweep built with AVX-512's encodings, whose 32 registers keep the eight
/// lanes' values out of the stack; vertices not 32-byte aligned take SweepEightLanes.
std::int32_t SweepEightLanesStreamingAvx512(TSweepContext&, TParticleEffectContainer&, float,
                                            const TCameraAxes&, TParticleVertex*, const TTaskRunner&);
std::int32_t StillSweepSixteenLanes(TSweepContext&, TParticleEffectContainer&, const TCameraAxes&,
                                    TParticleVertex*, TDebugLine*, const TTaskRunner&);
std::int32_t StillSweepEightLanesStreamingAvx512(TSweepContext&, TParticleEffectContainer&,
                                                 const TCameraAxes&, TParticleVertex*, TDebugLine*,
                                                 const TTaskRunner&);
#endif

} // namespace lumidor
