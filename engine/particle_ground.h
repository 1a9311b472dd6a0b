#pragma once
// The ground's bounce, over lanes of any width (see engine/particle_physics.h): a velocity whose
// predicted position lies over the collision grid and within 0.2 of its bilinear surface is mirrored
// at the cell's plane and loses a share per axis.

#include "engine/particle_physics.h"

#include <vector>

namespace lumidor::physics {
namespace {

// Floor of grid coordinates, by truncation where they are non-negative (floorf is a library call
// on baseline x86-64); values too large to truncate exactly are whole already.
template <int W> LUMIDOR_LANES_INLINE TLanes<W> WholePart(TLanes<W> coordinate) {
    const TMask<W> truncatable = (coordinate >= Splat<W>(0.0f)) & (coordinate < Splat<W>(8388608.0f));
    const TLanes<W> truncated = __builtin_convertvector(
        __builtin_convertvector(Select(truncatable, coordinate, Splat<W>(0.0f)), TMask<W>), TLanes<W>);
    if (!Any(~truncatable)) return truncated;
    TLanes<W> result = truncated;
    for (int lane = 0; lane < W; ++lane) {
        if (!truncatable[lane]) result[lane] = std::floor(coordinate[lane]);
    }
    return result;
}

template <int W> LUMIDOR_LANES_INLINE TLanes<W> ClampCell(TLanes<W> whole, float lastCell) {
    const TLanes<W> low = Select(whole >= Splat<W>(0.0f), whole, Splat<W>(0.0f)); // NaN becomes 0 here
    return Select(low < Splat<W>(lastCell), low, Splat<W>(lastCell));
}

// The bilinear surface height under each predicted point over the grid, and its cell's normal.
template <int W>
LUMIDOR_LANES_INLINE void GroundUnder(const TMotionPass<W>& pass, TLanes<W> predictedX, TLanes<W> predictedZ,
                                      TMask<W> inside, TLanes<W>& surface, TLanes3<W>& normal) {
    const TCollisionConvexWorld& world = *pass.World;
    const TVector3& origin = world.Origin;
    const TLanes<W> gridX = (predictedX - Splat<W>(origin.x)) * Splat<W>(pass.InverseCellX);
    const TLanes<W> gridZ = (predictedZ - Splat<W>(origin.z)) * Splat<W>(pass.InverseCellZ);
    const TLanes<W> wholeX = WholePart<W>(gridX);
    const TLanes<W> wholeZ = WholePart<W>(gridZ);
    const TLanes<W> cellX = ClampCell<W>(wholeX, pass.LastCellX);
    const TLanes<W> cellZ = ClampCell<W>(wholeZ, pass.LastCellZ);
    const TLanes<W> fractionX = gridX - wholeX;
    const TLanes<W> fractionZ = gridZ - wholeZ;

    // The four corner heights, at (x, z), (x, z + 1), (x + 1, z), (x + 1, z + 1), and the normal.
    const HDataArray& heights = *world.Heights;
    TLanes<W> h00, h01, h10, h11;
    // Usually every lane over the ground stands on one cell (always on a one-cell floor): one lookup.
    int reference = 0;
    while (!inside[reference])
        ++reference;
    const TMask<W> otherCell =
        inside & ((cellX != Splat<W>(cellX[reference])) | (cellZ != Splat<W>(cellZ[reference])));
    if (!Any(otherCell)) {
        const auto x = std::size_t(cellX[reference]);
        const auto z = std::size_t(cellZ[reference]);
        const float* column0 = heights[x].data() + z;
        const float* column1 = heights[x + 1].data() + z;
        h00 = Splat<W>(column0[0]);
        h01 = Splat<W>(column0[1]);
        h10 = Splat<W>(column1[0]);
        h11 = Splat<W>(column1[1]);
        normal = Splat3<W>(world.Normals[x][z]);
    } else {
        for (int lane = 0; lane < W; ++lane) {
            const auto x = std::size_t(cellX[lane]);
            const auto z = std::size_t(cellZ[lane]);
            const float* column0 = heights[x].data() + z;
            const float* column1 = heights[x + 1].data() + z;
            const TVector3& n = world.Normals[x][z];
            h00[lane] = column0[0];
            h01[lane] = column0[1];
            h10[lane] = column1[0];
            h11[lane] = column1[1];
            normal.x[lane] = n.x;
            normal.y[lane] = n.y;
            normal.z[lane] = n.z;
        }
    }
    const TLanes<W> one = Splat<W>(1.0f);
    const TLanes<W> nearEdge = (one - fractionX) * h00 + fractionX * h10;
    const TLanes<W> farEdge = (one - fractionX) * h01 + fractionX * h11;
    surface = (one - fractionZ) * nearEdge + fractionZ * farEdge + Splat<W>(origin.y);
}

/// Which lanes bounced, and on which cell's normal.
template <int W> struct TGroundContact {
    TMask<W> Bounced{};
    TLanes3<W> Normal{};
};

// The mirror uses (2 n (n.d) - d) |V| = V - 2 (n.V) n for d = -V / |V|, which needs no square root.
// `contact` (when not null) receives the bounce.
template <int W>
LUMIDOR_LANES_INLINE TLanes3<W> Collide(const TMotionPass<W>& pass, const TLanes3<W>& position,
                                        const TLanes3<W>& velocity, TGroundContact<W>* contact = nullptr) {
    const TCollisionConvexWorld& world = *pass.World;
    const TLanes3<W> predicted = position + velocity * Splat<W>(pass.Dt);
    const TVector3& origin = world.Origin;
    // Points exactly on the border are inside.
    const TMask<W> inside =
        (predicted.x >= Splat<W>(origin.x)) & (predicted.x <= Splat<W>(origin.x + world.Extent.x)) &
        (predicted.z >= Splat<W>(origin.z)) & (predicted.z <= Splat<W>(origin.z + world.Extent.z));
    if (!Any(inside)) return velocity;

    TLanes<W> surface;
    TLanes3<W> normal;
    if (pass.FlatZeroGround) {
        // Every height is zero: each bilinear term is a zero, so the surface is Origin.y (a zero
        // of either sign where Origin.y is one, which compares alike), and every cell's normal is one.
        surface = Splat<W>(origin.y);
        normal = pass.FlatNormal;
    } else {
        GroundUnder(pass, predicted.x, predicted.z, inside, surface, normal);
    }
    const TMask<W> outsideBand =
        (predicted.y > surface + Splat<W>(0.2f)) | (predicted.y < surface - Splat<W>(0.2f));
    const TMask<W> bounce = inside & ~outsideBand;
    if (contact) *contact = {bounce, normal};

    const TLanes<W> twiceAlong = Splat<W>(2.0f) * Dot(normal, velocity);
    return Select3(bounce, (velocity - normal * twiceAlong) * pass.KeptAfterBounce, velocity);
}

/// Caches the world's per-pass values in `pass` (World stays null when it has no collision).
template <int W> void SetWorld(TMotionPass<W>& pass, const TCollisionConvexWorld& world) {
    pass.World = HasCollision(world) ? &world : nullptr;
    if (!pass.World) return;
    pass.InverseCellX = 1.0f / world.CellSizeX;
    pass.InverseCellZ = 1.0f / world.CellSizeZ;
    pass.LastCellX = float(world.Normals.size() - 1);
    pass.LastCellZ = float(world.Normals[0].size() - 1);
    pass.KeptAfterBounce = {Splat<W>(1.0f - world.WorldFriction.x), Splat<W>(1.0f - world.WorldFriction.y),
                            Splat<W>(1.0f - world.WorldFriction.z)};
    // The demo's floors are flat zero grids of a few points; they are checked every pass (the grid is
    // shared and may change), larger grids are not worth the scan.
    // The fraction within a cell must be a number in [0, 1) wherever a point is over the grid.
    const HDataArray& heights = *world.Heights;
    if (heights.size() > 8) return;
    for (const float value : {pass.InverseCellX, pass.InverseCellZ, world.CellSizeX, world.CellSizeZ,
                              world.Origin.x, world.Origin.z, world.Extent.x, world.Extent.z}) {
        if (!std::isfinite(value)) return;
    }
    if (!(world.CellSizeX > 0.0f && world.CellSizeZ > 0.0f)) return;
    const TVector3& first = world.Normals[0][0];
    for (const std::vector<float>& column : heights) {
        for (const float height : column) {
            if (height != 0.0f) return;
        }
    }
    for (const std::vector<TVector3>& column : world.Normals) {
        for (const TVector3& normal : column) {
            if (std::memcmp(&normal, &first, sizeof normal) != 0) return;
        }
    }
    pass.FlatZeroGround = true;
    pass.FlatNormal = Splat3<W>(first);
}

} // namespace
} // namespace lumidor::physics
