#pragma once
// Height-field ground for a particle system: a square grid in the x-z plane, one normal per cell,
// and a per-axis loss of speed in a bounce.

#include "engine/vector.h"

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

/// Installs a grid (N x N, N >= 2) and computes the cell normals; WorldFriction is kept.
void SetCollisionWorld(TParticleEffectContainer& container, std::shared_ptr<const HDataArray> heights,
                       const TVector3& origin, float cellSizeX, float cellSizeZ);
/// Stores the world friction used by bounces.
void SetWorldFriction(TParticleEffectContainer& container, const TVector3& friction);
/// True when the world holds a grid of at least 2 x 2 points.
bool HasCollision(const TCollisionConvexWorld& world);
/// Reflects the particle's velocity when its predicted position lies within 0.2 of the surface.
void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt);

} // namespace lumidor
