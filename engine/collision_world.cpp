#include "engine/collision_world.h"

#include "engine/particle_container.h"

#include <algorithm>
#include <cmath>

namespace lumidor {

void SetCollisionWorld(TParticleEffectContainer& container, std::shared_ptr<const HDataArray> heights,
                       const TVector3& origin, float cellSizeX, float cellSizeZ) {
    TCollisionConvexWorld& world = container.World;
    world.Heights = std::move(heights);
    // Grids are square in practice; a ragged or rectangular one is cut to the rows and columns that
    // every point exists for, so no lookup can leave the arrays.
    std::size_t pointsX = world.Heights ? world.Heights->size() : 0;
    std::size_t pointsZ = pointsX;
    for (std::size_t x = 0; x < pointsX; ++x) pointsZ = std::min(pointsZ, (*world.Heights)[x].size());
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

void CollideWithWorld(const TCollisionConvexWorld& world, TParticle& particle, float dt) {
    const TVector3& velocity = particle.Velocity;
    const TVector3 predicted{particle.Position.x + velocity.x * dt, particle.Position.y + velocity.y * dt,
                             particle.Position.z + velocity.z * dt};
    const TVector3& origin = world.Origin;
    // Points exactly on the border are inside; NaN positions fail every test and are left alone.
    if (!(predicted.x >= origin.x && predicted.x <= origin.x + world.Extent.x && predicted.z >= origin.z &&
          predicted.z <= origin.z + world.Extent.z))
        return;

    const float gridX = (predicted.x - origin.x) / world.CellSizeX;
    const float gridZ = (predicted.z - origin.z) / world.CellSizeZ;
    // Finite and >= 0 here unless a cell size is degenerate; clamp before converting to an index.
    auto clampCell = [](float coordinate, std::int64_t lastCell) {
        if (!(coordinate >= 0.0f)) return std::int64_t(0);
        if (coordinate >= float(lastCell)) return lastCell;
        return std::int64_t(coordinate);
    };
    const std::int64_t cellX = clampCell(gridX, std::int64_t(world.Normals.size()) - 1);
    const std::int64_t cellZ = clampCell(gridZ, std::int64_t(world.Normals[0].size()) - 1);
    const float fractionX = gridX - std::floor(gridX);
    const float fractionZ = gridZ - std::floor(gridZ);

    const HDataArray& heights = *world.Heights;
    const std::vector<float>& column0 = heights[std::size_t(cellX)];
    const std::vector<float>& column1 = heights[std::size_t(cellX + 1)];
    const float nearEdge = (1.0f - fractionX) * column0[std::size_t(cellZ)] + fractionX * column1[std::size_t(cellZ)];
    const float farEdge =
        (1.0f - fractionX) * column0[std::size_t(cellZ + 1)] + fractionX * column1[std::size_t(cellZ + 1)];
    const float surface = (1.0f - fractionZ) * nearEdge + fractionZ * farEdge + origin.y;
    if (predicted.y > surface + 0.2f || predicted.y < surface - 0.2f) return;

    // Mirror the velocity at the cell's plane, keep the speed, then lose a share per axis.
    const float speed = VectorLength(velocity);
    TVector3 direction{-velocity.x, -velocity.y, -velocity.z};
    Normalize(direction);
    const TVector3& normal = world.Normals[std::size_t(cellX)][std::size_t(cellZ)];
    const float k = DotProduct(normal, direction);
    const TVector3& loss = world.WorldFriction;
    particle.Velocity = {(2.0f * normal.x * k - direction.x) * speed * (1.0f - loss.x),
                         (2.0f * normal.y * k - direction.y) * speed * (1.0f - loss.y),
                         (2.0f * normal.z * k - direction.z) * speed * (1.0f - loss.z)};
}

} // namespace lumidor
