#pragma once
// Debug-mode gizmos as lines in window pixels: each magnet point's reach as a camera-facing circle
// coloured by whether it pulls or pushes, the collision world's height field as a wire grid around
// the particles, and the mark of the inspected particle. Built on the CPU from the view a pass was
// drawn with; debug_gizmos_gl.cpp draws them.

#include "app/debug/screen_view.h"
#include "engine/collision_world.h"
#include "engine/particle_container.h"
#include "engine/vector.h"

#include <vector>

namespace lumidor {

/// A line between two window pixels, with its colour (0..1, alpha for blending).
struct TScreenLine {
    float X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    float R = 1, G = 1, B = 1, A = 1;
};

/// What a magnet point does to particles in its reach right now.
enum class TMagnetAction { Pulls, Pushes, Inert };
/// Modes 1 and 2 push for a positive gravity, mode 0 pulls; zero gravity and other modes are inert.
TMagnetAction MagnetAction(const TMagnetPoint& magnet);

/// Segments of the circles.
inline constexpr int kMagnetCircleSegments = 48;
/// The magnet's radius as a circle facing the camera (in the plane of the view's right and up axes),
/// plus a small cross at its centre; blue when it pulls, orange when it pushes, grey when inert.
void AddMagnetCircle(std::vector<TScreenLine>& lines, const TScreenView& view, const TMagnetPoint& magnet);

/// Height of the world's surface at (x, z), interpolated as the collision test does; the grid's
/// border height outside it; Origin.y for a world without grid or a non-finite point.
float GroundHeight(const TCollisionConvexWorld& world, float x, float z);

/// Most grid lines drawn along each axis.
inline constexpr int kGroundGridLines = 33;
/// The height field over the x-z box (clipped to the world) as a grid following the surface, at most
/// kGroundGridLines lines each way. Nothing for a world without collision or an empty box.
void AddGroundGrid(std::vector<TScreenLine>& lines, const TScreenView& view,
                   const TCollisionConvexWorld& world, float minX, float maxX, float minZ, float maxZ);

/// The gizmos of one pass of `container` in the view it was drawn with: its magnet points' circles
/// (when `magnets`) and, for a system with collision and particles, the ground grid around its
/// particles with half a unit to spare (when `ground`). Magnet points may exist only during the pass.
void AddSystemGizmos(std::vector<TScreenLine>& lines, const TParticleEffectContainer& container,
                     const TScreenView& view, bool magnets, bool ground);

/// A square with a cross around the window pixel (x, y), `half` pixels from its centre to its sides.
void AddMark(std::vector<TScreenLine>& lines, float x, float y, float half);

/// Draws the lines over the picture, blended, without depth test or texture; expects a pixel
/// projection with the origin top-left (as the logo banner leaves it) and restores what it changes.
void DrawScreenLines(const std::vector<TScreenLine>& lines);

} // namespace lumidor
