#pragma once
// The demo's flat floor as the benchmarks measure it: one container over a flat collision world with
// a magnet at the origin, topped up with particles that fly and fall. Every benchmark of the pass
// builds it here, so they measure one scene; the particles' fading and growth is a choice, since
// some measure the pass with them and some without.

#include "engine/particle_container.h"

#include <cstdint>

namespace lumidor::bench {

/// What the floor scene's particles do besides flying, falling and bouncing.
enum class TFloorParticles {
    Plain,         ///< force, inertia, mass and air resistance only
    FadingGrowing, ///< also fade in until 0.2 of their life, out from 0.7, and grow 0.1 a second
};

/// Adds particles of kind `particles` at random (from the random generator) until `container` holds
/// `target` (nothing when it holds as many already).
void TopUpFloorScene(TParticleEffectContainer& container, std::int32_t target, TFloorParticles particles);

/// The floor scene with `count` particles of kind `particles`: texture 1 as 2 x 4 tiles, a flat
/// 10 x 10 ground at y = -1.1, world friction (0.2, 0.4, 0.2), one magnet of mode 1 at the origin
/// (reach 3, strength -2).
TParticleEffectContainer MakeFloorScene(std::int32_t count, TFloorParticles particles);

} // namespace lumidor::bench
