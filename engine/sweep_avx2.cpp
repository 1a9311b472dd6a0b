// The eight-lane sweeps, built with AVX2 enabled (see engine/CMakeLists.txt): nothing here may run
// unless WideSweepSupported() says so, except that function itself.

#include "engine/particle_sweep.h"
#include "engine/simulation_wide.h"

#include <cstdint>

namespace lumidor {

bool WideSweepSupported() {
    return __builtin_cpu_supports("avx2");
}

std::int32_t SweepEightLanes(TSweepContext& context, TParticleEffectContainer& container, float dt,
                             const TCameraAxes& camera, TParticleVertex* vertices,
                             const TTaskRunner& runner) {
    return sweep::SweepOfWidth<8, false>(context, container, dt, camera, vertices, runner);
}

std::int32_t SweepEightLanesStreaming(TSweepContext& context, TParticleEffectContainer& container, float dt,
                                      const TCameraAxes& camera, TParticleVertex* vertices,
                                      const TTaskRunner& runner) {
    if (reinterpret_cast<std::uintptr_t>(vertices) % 32 != 0)
        return SweepEightLanes(context, container, dt, camera, vertices, runner);
    return sweep::SweepOfWidth<8, true>(context, container, dt, camera, vertices, runner);
}

std::int32_t StillSweepEightLanes(TSweepContext& context, TParticleEffectContainer& container,
                                  const TCameraAxes& camera, TParticleVertex* vertices, TDebugLine* lines,
                                  const TTaskRunner& runner) {
    return sweep::StillSweepOfWidth<8, false>(context, container, camera, vertices, lines, runner);
}

std::int32_t StillSweepEightLanesStreaming(TSweepContext& context, TParticleEffectContainer& container,
                                           const TCameraAxes& camera, TParticleVertex* vertices,
                                           TDebugLine* lines, const TTaskRunner& runner) {
    if (reinterpret_cast<std::uintptr_t>(vertices) % 32 != 0)
        return StillSweepEightLanes(context, container, camera, vertices, lines, runner);
    return sweep::StillSweepOfWidth<8, true>(context, container, camera, vertices, lines, runner);
}

} // namespace lumidor
