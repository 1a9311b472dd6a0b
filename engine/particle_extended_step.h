#pragma once
// Which containers take the sweep's extended step: the instantiation that turns particles, draws
// them turned or stretched, and applies the flow's forces and death on the ground. A container that
// uses none of these runs the plain step, the very code it ran before they existed. A new opt-in
// term of the extended step adds its condition here, so the sweep, the still pass and the step
// breakdown all choose alike.

#include "engine/particle_container.h"

namespace lumidor {

/// Whether the turbulence of `flow` acts at all: some strength and features of some size.
inline bool TurbulenceActive(const TParticleFlow& flow) {
    return flow.Turbulence.Strength != 0.0f && flow.Turbulence.Scale > 0.0f;
}

/// Whether the vortex of `flow` acts at all: it turns or pulls.
inline bool VortexActive(const TParticleFlow& flow) {
    return flow.Vortex.Speed != 0.0f || flow.Vortex.Pull != 0.0f;
}

/// Whether `container`'s passes take the extended step (physics::StepParticles<W, true>).
inline bool UsesExtendedStep(const TParticleEffectContainer& container) {
    return container.Rotating || container.Stretch > 0.0f || TurbulenceActive(container.Flow) ||
           VortexActive(container.Flow) || container.DieOnGround;
}

} // namespace lumidor
