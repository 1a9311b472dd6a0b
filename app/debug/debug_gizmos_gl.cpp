#include "app/debug/debug_gizmos.h"

#include "engine/gl_api.h"

namespace lumidor {

void DrawScreenLines(const std::vector<TScreenLine>& lines) {
    if (lines.empty()) return;
    const bool depthTest = GL.IsEnabled(GL_DEPTH_TEST);
    const bool texture = GL.IsEnabled(GL_TEXTURE_2D);
    const bool blend = GL.IsEnabled(GL_BLEND);
    GL.Disable(GL_DEPTH_TEST); // gizmos stay visible through the terrain and the particles
    GL.Disable(GL_TEXTURE_2D);
    GL.Enable(GL_BLEND);
    GL.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GL.Begin(GL_LINES);
    for (const TScreenLine& line : lines) {
        GL.Color4f(line.R, line.G, line.B, line.A);
        GL.Vertex2f(line.X0, line.Y0);
        GL.Vertex2f(line.X1, line.Y1);
    }
    GL.End();
    GL.Color4f(1.0f, 1.0f, 1.0f, 1.0f);
    if (!blend) GL.Disable(GL_BLEND);
    if (texture) GL.Enable(GL_TEXTURE_2D);
    if (depthTest) GL.Enable(GL_DEPTH_TEST);
}

} // namespace lumidor
