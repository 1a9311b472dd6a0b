#pragma once
// Small helpers shared by the preset procedures (internal to the effects library).

#include "engine/particle_container.h"

#include <cstdint>
#include <numbers>

namespace lumidor::presets {

/// How many particles a top-up adds: target - count when below the target, else 0.
inline std::int32_t Missing(const TParticleEffectContainer& container, std::int32_t target) {
    const std::int32_t count = ParticleCount(container);
    return count < target ? target - count : 0;
}

/// Index of the particle just appended by AddParticle.
inline std::int32_t Newest(const TParticleEffectContainer& container) {
    return ParticleCount(container) - 1;
}

/// Effect 1's tilt of the modelview (25 degrees about x); its preset and its still picture share it.
void Effect1View();
/// Effect 2's tilt of the modelview (10 degrees about x).
void Effect2View();
/// The stress test's camera and its lit terrain, drawn into the depth buffer.
void StressTestScene();

/// Degrees to radians, in double precision like the angle maths of the presets.
inline double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

} // namespace lumidor::presets
