// The GL half of the per-frame pass: maps a container's vertex buffer, hands it to the CPU sweep
// (a real pass, or the still pass of a paused frame), draws the quads and the debug lines, and
// restores the GL state it changed. A container with trails keeps their ribbons in the same buffer,
// after the particles' room, and draws them first.

#include "engine/particle_container.h"
#include "engine/particle_trails.h"
#include "engine/pass_observer.h"
#include "engine/simulation.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace lumidor {

namespace {

void DrawDebugLine(const TVector3& color, const TVector3& position, const TVector3& tip) {
    GL.Color4f(color.x, color.y, color.z, 1.0f);
    // A tip still at the origin was never computed (added while debug mode was off).
    if (VectorLength(tip) > 0.0f) {
        GL.Vertex3f(position.x, position.y, position.z);
        GL.Vertex3f(tip.x, tip.y, tip.z);
    }
}

void BeginDebugLines() {
    GL.Disable(GL_TEXTURE_2D);
    GL.Begin(GL_LINES);
}

void EndDebugLines() {
    GL.End();
    GL.Enable(GL_TEXTURE_2D);
}

void DrawDebugLines(const TParticleEffectContainer& container) {
    BeginDebugLines();
    for (const TParticle& particle : container.Particles)
        DrawDebugLine(particle.Color, particle.Position, particle.DebugTip);
    EndDebugLines();
}

void DrawDebugLines(std::span<const TDebugLine> lines) {
    BeginDebugLines();
    for (const TDebugLine& line : lines)
        DrawDebugLine(line.Color, line.Position, line.Tip);
    EndDebugLines();
}

// Room for the trails' vertices after the particles' in the buffer: what they may need, within what
// a draw can address.
std::int32_t TrailRoom(const TParticleEffectContainer& container) {
    const auto most = std::size_t(std::numeric_limits<std::int32_t>::max() - container.BufferCapacity);
    return std::int32_t(std::min(TrailVertexCapacity(container), most));
}

// Sets the state the quads are drawn with, respecifies and maps the container's buffer (room for
// its particles, then `trailRoom` vertices of trails) into container.WriteCursor (null when the map
// failed) and returns the camera's axes.
TCameraAxes BeginQuads(TParticleEffectContainer& container, std::int32_t trailRoom) {
    GL.Enable(GL_BLEND);
    GL.Enable(GL_ALPHA_TEST);
    GL.AlphaFunc(GL_GREATER, 0.0f); // fully transparent fragments write neither colour nor depth
    GL.BlendFunc(container.BlendSrc, container.BlendDst);
    GL.BindTexture(GL_TEXTURE_2D, container.Texture);
    GL.BindBufferARB(GL_ARRAY_BUFFER_ARB, container.VertexBuffer);
    GL.EnableClientState(GL_VERTEX_ARRAY);
    // Respecify the storage every frame so the driver never waits on last frame's draw.
    GL.BufferDataARB(GL_ARRAY_BUFFER_ARB,
                     (GLsizeiptrARB(container.BufferCapacity) + trailRoom) *
                         GLsizeiptrARB(sizeof(TParticleVertex)),
                     nullptr, GL_DYNAMIC_DRAW_ARB);
    container.WriteCursor =
        static_cast<TParticleVertex*>(GL.MapBufferARB(GL_ARRAY_BUFFER_ARB, GL_WRITE_ONLY_ARB));
    float modelview[16];
    GL.GetFloatv(GL_MODELVIEW_MATRIX, modelview);
    return CameraAxesFromModelview(modelview);
}

// Writes the trails' ribbons after the particles' room in the mapped buffer (none when the map
// failed) and returns how many vertices they took.
std::int32_t WriteTrails(TParticleEffectContainer& container, const TCameraAxes& camera,
                         std::int32_t trailRoom) {
    if (!container.WriteCursor || trailRoom == 0) return 0;
    return std::int32_t(WriteTrailVertices(
        container, camera, container.WriteCursor + container.BufferCapacity, std::size_t(trailRoom)));
}

// Unmaps the buffer, draws the trails' vertices, then the particles' (none when the map failed),
// and restores the state BeginQuads set.
void EndQuads(TParticleEffectContainer& container, std::int32_t vertexCount, std::int32_t trailCount) {
    const bool mapped = container.WriteCursor != nullptr;
    container.WriteCursor = nullptr;
    if (mapped) GL.UnmapBufferARB(GL_ARRAY_BUFFER_ARB);
    GL.InterleavedArrays(GL_T2F_C4UB_V3F, GLsizei(sizeof(TParticleVertex)), nullptr);
    if (mapped && trailCount > 0) GL.DrawArrays(GL_QUADS, container.BufferCapacity, trailCount);
    GL.DrawArrays(GL_QUADS, 0, mapped ? vertexCount : 0);
    GL.DisableClientState(GL_VERTEX_ARRAY);
    GL.Disable(GL_BLEND);
    GL.Disable(GL_ALPHA_TEST);
}

} // namespace

void UpdateAndDraw(TParticleEffectContainer& container, float dt) {
    NotifyBeforePass(container, dt);
    // A container that never held a particle has no buffer object: nothing to simulate or draw, and
    // binding name 0 would only raise GL errors. The flow's clock runs all the same.
    if (container.VertexBuffer == 0) {
        SimulateParticles(container, dt, TCameraAxes{}, nullptr);
        RecordTrails(container, dt);
        container.Flow.Time += dt;
        NotifyAfterPass(container, dt);
        return;
    }
    ShapeTrails(container);
    const std::int32_t trailRoom = TrailRoom(container);
    const TCameraAxes camera = BeginQuads(container, trailRoom);
    // A failed map (out of memory) still advances the particles; only this frame's draw is lost.
    const std::int32_t vertexCount = SimulateParticles(container, dt, camera, container.WriteCursor);
    RecordTrails(container, dt);
    container.Flow.Time += dt;
    EndQuads(container, vertexCount, WriteTrails(container, camera, trailRoom));
    if (container.DebugMode) DrawDebugLines(container);
    NotifyAfterPass(container, dt);
}

void DrawParticlesStill(TParticleEffectContainer& container) {
    NotifyBeforePass(container, 0.0f);
    if (container.VertexBuffer == 0) {
        NotifyAfterPass(container, 0.0f);
        return;
    }
    // Debug lines come from the pass, as a real pass leaves them in the particles; the room is kept
    // from frame to frame.
    static thread_local std::vector<TDebugLine> lines;
    if (container.DebugMode) lines.resize(container.Particles.size());
    // The trails are drawn as they stand: a still pass records nothing.
    const std::int32_t trailRoom = TrailRoom(container);
    const TCameraAxes camera = BeginQuads(container, trailRoom);
    const std::int32_t vertexCount = WriteStillVertices(container, camera, container.WriteCursor,
                                                        container.DebugMode ? lines.data() : nullptr);
    EndQuads(container, vertexCount, WriteTrails(container, camera, trailRoom));
    if (container.DebugMode) DrawDebugLines(std::span(lines).first(std::size_t(vertexCount / 4)));
    NotifyAfterPass(container, 0.0f);
}

} // namespace lumidor
