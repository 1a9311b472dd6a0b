#include "engine/particle_container.h"
#include "engine/pass_observer.h"
#include "engine/simulation.h"

namespace lumidor {

namespace {

void DrawDebugLines(const TParticleEffectContainer& container) {
    GL.Disable(GL_TEXTURE_2D);
    GL.Begin(GL_LINES);
    for (const TParticle& particle : container.Particles) {
        GL.Color4f(particle.Color.x, particle.Color.y, particle.Color.z, 1.0f);
        // A tip still at the origin was never computed (added while debug mode was off).
        if (VectorLength(particle.DebugTip) > 0.0f) {
            GL.Vertex3f(particle.Position.x, particle.Position.y, particle.Position.z);
            GL.Vertex3f(particle.DebugTip.x, particle.DebugTip.y, particle.DebugTip.z);
        }
    }
    GL.End();
    GL.Enable(GL_TEXTURE_2D);
}

} // namespace

void UpdateAndDraw(TParticleEffectContainer& container, float dt) {
    NotifyBeforePass(container, dt);
    // A container that never held a particle has no buffer object: nothing to simulate or draw, and
    // binding name 0 would only raise GL errors.
    if (container.VertexBuffer == 0) {
        SimulateParticles(container, dt, TCameraAxes{}, nullptr);
        NotifyAfterPass(container, dt);
        return;
    }
    GL.Enable(GL_BLEND);
    GL.Enable(GL_ALPHA_TEST);
    GL.AlphaFunc(GL_GREATER, 0.0f); // fully transparent fragments write neither colour nor depth
    GL.BlendFunc(container.BlendSrc, container.BlendDst);
    GL.BindTexture(GL_TEXTURE_2D, container.Texture);
    GL.BindBufferARB(GL_ARRAY_BUFFER_ARB, container.VertexBuffer);
    GL.EnableClientState(GL_VERTEX_ARRAY);
    // Respecify the storage every frame so the driver never waits on last frame's draw.
    GL.BufferDataARB(GL_ARRAY_BUFFER_ARB,
                     GLsizeiptrARB(container.BufferCapacity) * GLsizeiptrARB(sizeof(TParticleVertex)),
                     nullptr, GL_DYNAMIC_DRAW_ARB);
    container.WriteCursor =
        static_cast<TParticleVertex*>(GL.MapBufferARB(GL_ARRAY_BUFFER_ARB, GL_WRITE_ONLY_ARB));
    float modelview[16];
    GL.GetFloatv(GL_MODELVIEW_MATRIX, modelview);

    // A failed map (out of memory) still advances the particles; only this frame's draw is lost.
    const std::int32_t vertexCount =
        SimulateParticles(container, dt, CameraAxesFromModelview(modelview), container.WriteCursor);
    const bool mapped = container.WriteCursor != nullptr;
    container.WriteCursor = nullptr;

    if (mapped) GL.UnmapBufferARB(GL_ARRAY_BUFFER_ARB);
    GL.InterleavedArrays(GL_T2F_C4UB_V3F, GLsizei(sizeof(TParticleVertex)), nullptr);
    GL.DrawArrays(GL_QUADS, 0, mapped ? vertexCount : 0);
    GL.DisableClientState(GL_VERTEX_ARRAY);
    GL.Disable(GL_BLEND);
    GL.Disable(GL_ALPHA_TEST);
    if (container.DebugMode) DrawDebugLines(container);
    NotifyAfterPass(container, dt);
}

} // namespace lumidor
