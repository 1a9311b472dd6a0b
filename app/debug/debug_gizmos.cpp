#include "app/debug/debug_gizmos.h"

#include "engine/particle_step_breakdown.h"
#include "engine/simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumidor {

namespace {

// Segment between two world points, dropped when either end is behind the camera.
void AddSegment(std::vector<TScreenLine>& lines, const TScreenView& view, const TVector3& a,
                const TVector3& b, const float colour[4]) {
    TScreenLine line;
    if (!ProjectToWindow(view, a, line.X0, line.Y0) || !ProjectToWindow(view, b, line.X1, line.Y1)) return;
    line.R = colour[0];
    line.G = colour[1];
    line.B = colour[2];
    line.A = colour[3];
    lines.push_back(line);
}

} // namespace

TMagnetAction MagnetAction(const TMagnetPoint& magnet) {
    if (magnet.Gravity == 0.0f || magnet.Mode < 0 || magnet.Mode > 2 || !(magnet.Radius > 0.0f))
        return TMagnetAction::Inert;
    const bool positive = magnet.Gravity > 0.0f;
    // Mode 0 turns every axis back towards the magnet for a positive gravity; the radial modes push.
    return (magnet.Mode == 0) == positive ? TMagnetAction::Pulls : TMagnetAction::Pushes;
}

void AddMagnetCircle(std::vector<TScreenLine>& lines, const TScreenView& view, const TMagnetPoint& magnet) {
    static constexpr float pull[4] = {0.3f, 0.7f, 1.0f, 0.9f};
    static constexpr float push[4] = {1.0f, 0.55f, 0.15f, 0.9f};
    static constexpr float inert[4] = {0.6f, 0.6f, 0.6f, 0.7f};
    const TMagnetAction action = MagnetAction(magnet);
    const float* colour = action == TMagnetAction::Pulls    ? pull
                          : action == TMagnetAction::Pushes ? push
                                                            : inert;
    const TCameraAxes axes = CameraAxesFromModelview(view.Modelview);
    const float radius = std::fabs(magnet.Radius);
    auto at = [&](float angle, float r) {
        const float c = std::cos(angle) * r, s = std::sin(angle) * r;
        return TVector3{magnet.Position.x + axes.Right.x * c + axes.Up.x * s,
                        magnet.Position.y + axes.Right.y * c + axes.Up.y * s,
                        magnet.Position.z + axes.Right.z * c + axes.Up.z * s};
    };
    constexpr float turn = 6.28318530718f;
    for (int k = 0; k < kMagnetCircleSegments; ++k) {
        AddSegment(lines, view, at(turn * float(k) / kMagnetCircleSegments, radius),
                   at(turn * float(k + 1) / kMagnetCircleSegments, radius), colour);
    }
    const float cross = std::min(radius, 0.1f);
    AddSegment(lines, view, at(0.0f, cross), at(turn / 2, cross), colour);
    AddSegment(lines, view, at(turn / 4, cross), at(3 * turn / 4, cross), colour);
}

float GroundHeight(const TCollisionConvexWorld& world, float x, float z) {
    if (!HasCollision(world) || !std::isfinite(x) || !std::isfinite(z)) return world.Origin.y;
    const HDataArray& heights = *world.Heights;
    const float lastX = float(world.Normals.size()), lastZ = float(world.Normals[0].size());
    const float gridX = std::clamp((x - world.Origin.x) / world.CellSizeX, 0.0f, lastX);
    const float gridZ = std::clamp((z - world.Origin.z) / world.CellSizeZ, 0.0f, lastZ);
    const float cellX = std::min(std::floor(gridX), lastX - 1.0f);
    const float cellZ = std::min(std::floor(gridZ), lastZ - 1.0f);
    const float fx = gridX - cellX, fz = gridZ - cellZ;
    const auto ix = std::size_t(cellX), iz = std::size_t(cellZ);
    const float nearEdge = (1 - fx) * heights[ix][iz] + fx * heights[ix + 1][iz];
    const float farEdge = (1 - fx) * heights[ix][iz + 1] + fx * heights[ix + 1][iz + 1];
    return (1 - fz) * nearEdge + fz * farEdge + world.Origin.y;
}

void AddGroundGrid(std::vector<TScreenLine>& lines, const TScreenView& view,
                   const TCollisionConvexWorld& world, float minX, float maxX, float minZ, float maxZ) {
    if (!HasCollision(world)) return;
    minX = std::max(minX, world.Origin.x);
    maxX = std::min(maxX, world.Origin.x + world.Extent.x);
    minZ = std::max(minZ, world.Origin.z);
    maxZ = std::min(maxZ, world.Origin.z + world.Extent.z);
    if (!(minX < maxX) || !(minZ < maxZ)) return;
    static constexpr float colour[4] = {0.35f, 0.95f, 0.45f, 0.55f};
    // Lines on the grid's own points where they are few enough, evenly spaced otherwise.
    const int spansX = std::clamp(int(std::ceil((maxX - minX) / world.CellSizeX)), 1, kGroundGridLines - 1);
    const int spansZ = std::clamp(int(std::ceil((maxZ - minZ) / world.CellSizeZ)), 1, kGroundGridLines - 1);
    // A one-cell floor is still drawn as a grid, so the eye can read its height.
    const int linesX = std::max(spansX, 8), linesZ = std::max(spansZ, 8);
    auto point = [&](float x, float z) { return TVector3{x, GroundHeight(world, x, z), z}; };
    for (int i = 0; i <= linesX; ++i) {
        const float x = minX + (maxX - minX) * float(i) / float(linesX);
        for (int j = 0; j < linesZ; ++j) {
            const float z0 = minZ + (maxZ - minZ) * float(j) / float(linesZ);
            const float z1 = minZ + (maxZ - minZ) * float(j + 1) / float(linesZ);
            AddSegment(lines, view, point(x, z0), point(x, z1), colour);
        }
    }
    for (int j = 0; j <= linesZ; ++j) {
        const float z = minZ + (maxZ - minZ) * float(j) / float(linesZ);
        for (int i = 0; i < linesX; ++i) {
            const float x0 = minX + (maxX - minX) * float(i) / float(linesX);
            const float x1 = minX + (maxX - minX) * float(i + 1) / float(linesX);
            AddSegment(lines, view, point(x0, z), point(x1, z), colour);
        }
    }
}

void AddSystemGizmos(std::vector<TScreenLine>& lines, const TParticleEffectContainer& container,
                     const TScreenView& view, bool magnets, bool ground) {
    if (magnets) {
        for (const TMagnetPoint& magnet : container.MagnetPoints)
            AddMagnetCircle(lines, view, magnet);
    }
    const std::int32_t count = ParticleCount(container);
    if (ground && HasCollision(container.World) && count > 0) {
        float minX = std::numeric_limits<float>::max(), maxX = -minX, minZ = minX, maxZ = -minX;
        for (std::int32_t i = 0; i < count; ++i) {
            const TVector3 p = ReadParticle(container, i).Position;
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minZ = std::min(minZ, p.z);
            maxZ = std::max(maxZ, p.z);
        }
        constexpr float margin = 0.5f;
        AddGroundGrid(lines, view, container.World, minX - margin, maxX + margin, minZ - margin,
                      maxZ + margin);
    }
}

void AddMark(std::vector<TScreenLine>& lines, float x, float y, float half) {
    const TScreenLine base{0, 0, 0, 0, 1.0f, 1.0f, 0.2f, 1.0f};
    const float corners[5][2] = {{-half, -half}, {half, -half}, {half, half}, {-half, half}, {-half, -half}};
    for (int k = 0; k < 4; ++k) {
        TScreenLine line = base;
        line.X0 = x + corners[k][0];
        line.Y0 = y + corners[k][1];
        line.X1 = x + corners[k + 1][0];
        line.Y1 = y + corners[k + 1][1];
        lines.push_back(line);
    }
    for (const float sign : {-1.0f, 1.0f}) {
        TScreenLine line = base;
        line.X0 = x + sign * half * 1.8f;
        line.X1 = x + sign * half * 0.4f;
        line.Y0 = line.Y1 = y;
        lines.push_back(line);
        line.X0 = line.X1 = x;
        line.Y0 = y + sign * half * 1.8f;
        line.Y1 = y + sign * half * 0.4f;
        lines.push_back(line);
    }
}

} // namespace lumidor
