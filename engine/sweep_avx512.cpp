// The sixteen-lane sweep and the eight-lane streaming sweep once more, built with AVX-512 enabled
// (see engine/CMakeLists.txt): nothing here may run unless SixteenLaneSweepSupported() says so, except
// that function itself. The eight-lane operations are the AVX2 build's; AVX-512's encodings give the
// sweep 32 vector registers instead of 16, so that it keeps its values in registers rather than
// spilling them to the stack between the streamed loads and stores.

#include "engine/particle_sweep.h"
#include "engine/simulation_wide.h"

#include <cstdint>

namespace lumidor {

bool SixteenLaneSweepSupported() {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
}

std::int32_t SweepSixteenLanes(TSweepContext& context, TParticleEffectContainer& container, float dt,
                               const TCameraAxes& camera, TParticleVertex* vertices,
                               const TTaskRunner& runner) {
    return sweep::SweepOfWidth<16, false>(context, container, dt, camera, vertices, runner);
}

std::int32_t SweepEightLanesStreamingAvx512(TSweepContext& context, TParticleEffectContainer& container,
                                            float dt, const TCameraAxes& camera, TParticleVertex* vertices,
                                            const TTaskRunner& runner) {
    if (reinterpret_cast<std::uintptr_t>(vertices) % 32 != 0)
        return SweepEightLanes(context, container, dt, camera, vertices, runner);
    return sweep::SweepOfWidth<8, true>(context, container, dt, camera, vertices, runner);
}

std::int32_t StillSweepSixteenLanes(TSweepContext& context, TParticleEffectContainer& container,
                                    const TCameraAxes& camera, TParticleVertex* vertices, TDebugLine* lines,
                                    const TTaskRunner& runner) {
    return sweep::StillSweepOfWidth<16, false>(context, container, camera, vertices, lines, runner);
}

std::int32_t StillSweepEightLanesStreamingAvx512(TSweepContext& context, TParticleEffectContainer& container,
                                                 const TCameraAxes& camera, TParticleVertex* vertices,
                                                 TDebugLine* lines, const TTaskRunner& runner) {
    if (reinterpret_cast<std::uintptr_t>(vertices) % 32 != 0)
        return StillSweepEightLanes(context, container, camera, vertices, lines, runner);
    return sweep::StillSweepOfWidth<8, true>(context, container, camera, vertices, lines, runner);
}

} // namespace lumidor
