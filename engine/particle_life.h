#pragma once
// What a particle system changes over each particle's life (colour, opacity and size keys, a flipbook
// through the atlas), and the deaths and bounces of a frame that a host may ask a system to report.
// Both are opt-in: a system whose curves are empty and whose events nobody asked for runs as before.

#include "vector.h"

#include <cstdint>
#include <vector>

namespace lumidor {

/// Colour at one point of a particle's life.
struct TLifeColorKey {
    float Time = 0.0f; ///< age fraction lived / life, 0..1
    TVector3 Color;    ///< red, green, blue in 0..1
};

/// Opacity at one point of a particle's life.
struct TLifeAlphaKey {
    float Time = 0.0f;  ///< age fraction lived / life, 0..1
    float Alpha = 1.0f; ///< 0..1, multiplied with the particle's fading opacity
};

/// Size at one point of a particle's life.
struct TLifeSizeKey {
    float Time = 0.0f;   ///< age fraction lived / life, 0..1
    float Width = 0.0f;  ///< size along x, world units
    float Height = 0.0f; ///< size along y, world units
};

/// Atlas tiles played in order over a particle's life.
struct TFlipbook {
    std::int32_t FirstTile = 0; ///< tile shown at birth
    std::int32_t TileCount = 0; ///< tiles FirstTile .. FirstTile + TileCount - 1; 0: no flipbook
    float Cycles = 1.0f;        ///< times the tiles are played over one life
};

/// Curves over a particle's life, evaluated at f = lived / life clamped to 0..1: keys are kept sorted
/// by Time, linear between neighbours and held flat before the first and after the last. An empty
/// key list leaves that property as the particle's own.
struct TParticleLifeCurves {
    std::vector<TLifeColorKey> ColorKeys; ///< replace the particle's colour when not empty
    std::vector<TLifeAlphaKey> AlphaKeys; ///< multiply the particle's opacity when not empty
    std::vector<TLifeSizeKey> SizeKeys;   ///< replace the particle's size when not empty
    TFlipbook Flipbook;                   ///< replaces the particle's tile when TileCount > 0
};

/// Where and how fast a particle was when it died or bounced.
struct TParticleEvent {
    TVector3 Position; ///< world position
    TVector3 Velocity; ///< units per second
};

/// The deaths and bounces of a system's last pass; filled only while Enabled.
struct TParticleEventLog {
    bool Enabled = false;                ///< set by a host that wants the events; off costs nothing
    std::vector<TParticleEvent> Deaths;  ///< particles whose life ran out in the last pass
    std::vector<TParticleEvent> Bounces; ///< particles that hit the ground in the last pass
};

} // namespace lumidor
