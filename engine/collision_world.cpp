#include "engine/collision_world.h"

#include "engine/particle_container.h"

#include <algorithm>
#include <cmath>

namespace lumidor {

void SetCollisionWorld(TParticleEffectContainer& container, std::shared_ptr<const HDataArray> heights,
                       const TVector3& origin, float cellSizeX, float cellSizeZ) {
    TCollisionConvexWorld& world = container.World;
    world.Heights = std::move(heights);
    // Grids are square in practice. Any other keeps all its columns along x and is cut along z to its
    // shortest column and to no more points than there are columns (so a grid longer along z than along
    // x becomes square): no lookup can leave the arrays.
    std::size_t pointsX = world.Heights ? world.Heights->size() : 0;
    std::size_t pointsZ = pointsX;
    for (std::size_t x = 0; x < pointsX; ++x)
        pointsZ = std::min(pointsZ, (*world.Heights)[x].size());
    if (pointsX < 2 || pointsZ < 2) pointsX = pointsZ = 1;
    const std::size_t cellsX = pointsX - 1;
    const std::size_t cellsZ = pointsZ - 1;
    world.Normals.assign(cellsX, std::vector<TVector3>(cellsZ));
    const HDataArray* grid = world.Heights.get();
    // One normal per cell, from the triangle at grid offsets (0, 0), (0, 1), (1, 1); the cell's other
    // triangle is not considered.
    for (std::size_t z = 0; z < cellsZ; ++z) {
        for (std::size_t x = 0; x < cellsX; ++x) {
            const TVector3 p0{float(x) * cellSizeX, (*grid)[x][z], float(z) * cellSizeZ};
            const TVector3 p1{float(x) * cellSizeX, (*grid)[x][z + 1], float(z + 1) * cellSizeZ};
            const TVector3 p2{float(x + 1) * cellSizeX, (*grid)[x + 1][z + 1], float(z + 1) * cellSizeZ};
            world.Normals[x][z] = TriangleNormal(p0, p1, p2);
        }
    }
    world.CellSizeX = cellSizeX;
    world.CellSizeZ = cellSizeZ;
    world.Origin = origin;
    world.Extent = {float(cellsX) * cellSizeX, 0.0f, float(cellsZ) * cellSizeZ};
}

void SetWorldFriction(TParticleEffectContainer& container, const TVector3& friction) {
    container.World.WorldFriction = friction;
}

bool HasCollision(const TCollisionConvexWorld& world) {
    return !world.Normals.empty() && !world.Normals[0].empty();
}

// CollideWithWorld lives with the per-frame sweep (simulation.cpp), which inlines it; there a NaN
// predicted x or z fails the bounds test and counts as outside the world, on purpose (see the header).

} // namespace lumidor
