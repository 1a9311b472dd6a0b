#pragma once
// Trails: ribbons behind a container's particles through their last positions (the container's
// Trail). Every particle of an array records its position at the same moments, every Seconds /
// (Points - 1) of pass time, after UpdateAndDraw's pass; the history lives beside the particles in
// the array's storage, so swap-removal, RemoveParticle and copies of the array carry it. The
// ribbons are written by a pure function, from the particle's current position through its recorded
// points, newest first, facing the camera; UpdateAndDraw and DrawParticlesStill draw them right before
// the particles, from the same buffer object.
//
// Memory is bounded: a trail holds at most kMostTrailPoints points, and the history keeps Points - 1
// positions for at most MaxParticles particles (when above 0). The script runtime gives each trailing
// type its share of 4 million points (MaxParticles = share / Points), so a script's trails take at
// most about 48 MB.

#include "particle_container.h"
#include "simulation.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumidor {

/// Most points of one trail, the particle's own included.
constexpr std::int32_t kMostTrailPoints = 64;

/// Sets the history of the container's particles up for its Trail (Points 2 to 64, more taken as 64;
/// below 2 none is kept) and MaxParticles (0 or less: no limit). A change of either empties every
/// trail; otherwise nothing changes. A container that never held a particle has nothing to set up.
void ShapeTrails(TParticleEffectContainer& container);

/// What a pass of `dt` seconds leaves for the trails: the history is shaped (ShapeTrails), its clock
/// advanced, and when a recording moment is due (every Seconds / (Points - 1)), every particle with
/// room records its current position. Called after the pass, so only survivors record. Seconds not
/// above 0 (or not finite): nothing is recorded.
void RecordTrails(TParticleEffectContainer& container, float dt);

/// Moves every recorded point by `offset` (world units), as TranslateParticles moves the particles.
void TranslateTrails(TParticleEffectContainer& container, const TVector3& offset);

/// The points particle `index` has recorded, newest first (its current position not included); empty
/// for an index out of range or a particle that keeps no trail.
std::vector<TVector3> TrailPoints(const TParticleEffectContainer& container, std::int32_t index);

/// Vertices WriteTrailVertices may write for the container as it stands: four for each segment of
/// every trail it could draw.
std::size_t TrailVertexCapacity(const TParticleEffectContainer& container);

/// Writes the ribbons of the container's trails as quads (GL_T2F_C4UB_V3F) into `vertices` (room for
/// `room`; whole ribbons only) and returns how many it wrote. Seen along the camera's `right` and
/// `up`, each ribbon runs through the particle's current position (its head) and its recorded points
/// no older than Seconds, newest first: each point's side is across the segment and the view
/// direction (a zero-length segment takes its neighbour's); the width is Width at the head narrowing
/// linearly with age to 0 at the oldest point; the colour is the particle's colour bytes, the opacity
/// the particle's own vertex opacity fading linearly to 0 at the tail; the texture runs across the
/// ribbon from the left to the right edge of the particle's atlas tile, at the tile's middle along it.
/// A particle whose life is below zero (which a pass would remove) draws none.
std::size_t WriteTrailVertices(const TParticleEffectContainer& container, const TCameraAxes& camera,
                               TParticleVertex* vertices, std::size_t room);

} // namespace lumidor
