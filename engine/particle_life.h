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

/// Atlas tiles played in order over a particle's life: at age fraction f the tile is
/// FirstTile + floor(f x Cycles x TileCount) mod TileCount, except that f = 1 (the last drawn moment)
/// keeps the step before it, so a whole number of cycles ends on the last tile instead of wrapping to
/// the first. Cycles that are not above 0 (or NaN) play no flipbook.
struct TFlipbook {
    std::int32_t FirstTile = 0; ///< tile shown at birth
    std::int32_t TileCount = 0; ///< tiles FirstTile .. FirstTile + TileCount - 1; 0: no flipbook
    float Cycles = 1.0f;        ///< times the tiles are played over one life
};

/// Curves over a particle's life, evaluated at f = lived / life clamped to 0..1: keys are kept sorted
/// by Time (the pass sorts lists put in out of order, equal times keeping their order), linear between
/// neighbours and held flat before the first and after the last; where keys share a time the last of
/// them holds from that time on. An empty key list leaves that property as the particle's own. The
/// curves change only what is drawn: the particle's own colour, opacity, size and tile stay in its
/// record as the fading and enlargement leave them, so removing the keys brings them back.
struct TParticleLifeCurves {
    std::vector<TLifeColorKey> ColorKeys; ///< replace the particle's colour when not empty
    std::vector<TLifeAlphaKey> AlphaKeys; ///< multiply the particle's opacity when not empty
    std::vector<TLifeSizeKey> SizeKeys;   ///< replace the particle's size when not empty
    TFlipbook Flipbook;                   ///< replaces the particle's tile when TileCount > 0
    bool TintColorKeys = false;           ///< colour keys are multiplied by each particle's own colour
};

/// What a system's curves draw for one particle at one age fraction (see SampleLifeCurves).
struct TLifeSample {
    float Fraction = 0.0f;    ///< the age fraction f the curves were read at, 0..1
    bool HasColor = false;    ///< colour keys replace the particle's colour
    TVector3 Color;           ///< the colour drawn, when HasColor
    float AlphaFactor = 1.0f; ///< factor on the fading opacity (1 without alpha keys)
    bool HasSize = false;     ///< size keys replace the particle's size
    float Width = 0.0f;       ///< drawn width, when HasSize
    float Height = 0.0f;      ///< drawn height, when HasSize
    bool HasTile = false;     ///< the flipbook replaces the particle's tile
    std::int32_t Tile = 0;    ///< tile drawn, when HasTile
};

/// Where and how fast a particle was when it died or bounced: a death gives the particle's last
/// position and velocity (from the pass before, it does not move in the pass it dies in), a bounce
/// the position and velocity the bouncing step left it with.
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
