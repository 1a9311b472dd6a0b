#pragma once
// The CPU half of the per-frame pass: ageing, removal, fading, magnet forces, motion, collision,
// growth and the four billboard vertices of every particle, in one sweep over the array.

#include "particle_container.h"
#include "task_runner.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumidor {

/// Camera axes in world space, read once per pass from the modelview matrix.
struct TCameraAxes {
    TVector3 Right{1, 0, 0}; ///< unit vector to the right of the screen, world space
    TVector3 Up{0, 1, 0};    ///< unit vector to the top of the screen, world space
};

/// Right = (m[0], m[4], m[8]) and Up = (m[1], m[5], m[9]) of a column-major modelview matrix.
TCameraAxes CameraAxesFromModelview(const float modelview[16]);

/// Vertices in a host's own memory, aligned like a mapped buffer so that large containers can
/// stream into them (see SimulateParticles).
using TVertexBuffer = std::vector<TParticleVertex, TCacheLineAllocator<TParticleVertex>>;

/// Advances every particle by dt seconds and writes four vertices per surviving particle to
/// `vertices` (room for 4 x ParticleCount() vertices; null: simulate without writing). Returns the
/// number of vertices written (or that would have been). Large containers are swept on the
/// workers of TaskRunner(), with exactly the same particles, order and vertices. From 100,000
/// particles on, vertices that are 32-byte aligned (a mapped buffer, a TVertexBuffer) are written
/// with streaming stores, which leave them out of the caches.
std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices);
/// The same on the given runner's workers (when the container is large enough for it).
std::int32_t SimulateParticles(TParticleEffectContainer& container, float dt, const TCameraAxes& camera,
                               TParticleVertex* vertices, const TTaskRunner& runner);

/// What debug mode draws for one particle: a line from its position to its debug tip, in its colour.
struct TDebugLine {
    TVector3 Position; ///< the particle's centre, world units
    TVector3 Tip;      ///< the far end of the line, world units
    TVector3 Color;    ///< the particle's colour, 0..1 per channel
};

/// Writes the vertices SimulateParticles(container, 0, camera, vertices) would write, and returns
/// their count, without changing a particle or an event: what a paused frame draws. Like that pass
/// it draws the state a pass of no time leaves (fading, curves over life, a particle inside the
/// ground's band reflected), and a particle whose life is already below zero is drawn as that pass
/// would draw its slot after removing it: with the particle that takes the slot, so the count is the
/// survivors'. In debug mode `lines` (null: none; else room for ParticleCount()) receives each drawn
/// particle's debug line by slot, as that pass would leave it. Only the life curves' keys change:
/// sorted by time, as any pass sorts them.
std::int32_t WriteStillVertices(TParticleEffectContainer& container, const TCameraAxes& camera,
                                TParticleVertex* vertices, TDebugLine* lines = nullptr);
/// The same on the given runner's workers (when the container is large enough for it).
std::int32_t WriteStillVertices(TParticleEffectContainer& container, const TCameraAxes& camera,
                                TParticleVertex* vertices, TDebugLine* lines, const TTaskRunner& runner);

/// Sum of the magnet points' pull on a particle at `position` (no state is changed).
TVector3 ApplyMagnetPoints(const TParticleEffectContainer& container, const TVector3& position);

/// What `life` draws for a particle of life length `lifeLength` with `lifeLeft` left, computed as the
/// sweep's vertex stage does (the step breakdown shows it; a pass ages the particle first).
TLifeSample SampleLifeCurves(const TParticleLifeCurves& life, float lifeLength, float lifeLeft);

/// Colour channel to byte: value x 255 truncated toward zero, low 8 bits kept (1.2 gives 50).
/// Products that do not fit a 32-bit integer, infinities and NaN give 0.
std::uint8_t ColorChannelByte(float value);

} // namespace lumidor
