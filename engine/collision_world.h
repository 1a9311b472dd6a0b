#pragma once
// Height-field ground for a particle system: a square grid in the x-z plane, one normal per cell,
// and a per-axis loss of speed in a bounce.

#include "vector.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace lumidor {

/// Square height grid indexed [x][z]; shared between its builder and the worlds that use it.
using HDataArray = std::vector<std::vector<float>>;

/// The ground a container's particles bounce on; the value-initialised world has no ground.
struct TCollisionConvexWorld {
    /// The height grid (shared: later changes to its heights are seen); null or empty: no collision.
    std::shared_ptr<const HDataArray> Heights;
    std::vector<std::vector<TVector3>> Normals; ///< unit normal of cell [x][z], x, z in 0 .. N - 2
    float CellSizeX = 0.0f;                     ///< distance between grid points along x
    float CellSizeZ = 0.0f;                     ///< distance between grid points along z
    TVector3 Origin;                            ///< world position of grid point (0, 0) at height 0
    TVector3 Extent;                            ///< x: (N - 1) CellSizeX; z: (N - 1) CellSizeZ
    TVector3 WorldFriction;                     ///< per-axis fraction of velocity lost in a bounce
};

struct TParticleEffectContainer;
struct TParticle;

/// Installs a grid (N x N, N >= 2) and computes the cell normals; WorldFriction is kept. Another shape
/// keeps its columns along x and is cut along z to its shortest column and to at most as many points as
/// there are columns; fewer than 2 x 2 points give no collision.
void SetCollisionWorld(TParticleEffectContainer& container, std::shared_ptr<const HDataArray> heights,
                       const TVector3& origin, float cellSizeX, float cellSizeZ);
/// Stores the world friction used by bounces.
void SetWorldFriction(TParticleEffectContainer& container, const TVector3& friction);
/// True when the world holds a grid of at least 2 x 2 points.
bool HasCollision(const TCollisionConvexWorld& world);
/// Reflects the particle's velocity when its predicted position lies within 0.2 of the surface.
/// A predicted position whose x or z is NaN is outside the world and the velocity is kept. This is
/// deliberate and sound: such a point has no cell to look up and no surface height, and reflecting it at
/// an arbitrary cell would turn a position already lost into a made-up velocity. (A NaN y alone fails
/// both band comparisons, so it bounces, as the band test reads.)
void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt);

} // namespace lumidor
