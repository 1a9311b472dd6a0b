// The four-lane sweep, built for the baseline instruction set (SSE on x86-64).

#include "engine/particle_sweep.h"
#include "engine/simulation_wide.h"

namespace lumidor {

std::int32_t SweepFourLanes(TSweepContext& context, TParticleEffectContainer& container, float dt,
                            const TCameraAxes& camera, TParticleVertex* vertices, const TTaskRunner& runner) {
    return sweep::SweepOfWidth<4, false>(context, container, dt, camera, vertices, runner);
}

std::int32_t StillSweepFourLanes(TSweepContext& context, TParticleEffectContainer& container,
                                 const TCameraAxes& camera, TParticleVertex* vertices, TDebugLine* lines,
                                 const TTaskRunner& runner) {
    return sweep::StillSweepOfWidth<4, false>(context, container, camera, vertices, lines, runner);
}

} // namespace lumidor
