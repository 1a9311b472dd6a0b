#pragma once
// The WebGL renderer behind the GL layer: fills the `GL` table (engine/gl_api.h) with functions that
// reproduce the fixed-function subset the engine, textures, terrain, effects and banner use, on one
// shader pair. The callers do not know which path draws them.
//
// What it keeps from the desktop look: the texture modulated by the vertex colour, the blend factors
// each system sets, the alpha test, depth writes as set, one light with one front material computed
// per vertex. How it gets there on WebGL: particle buffers are mapped into a CPU copy and sent with
// glBufferSubData at the draw (only the vertices drawn); GL_QUADS become indexed triangles, 16,384
// quads per draw; immediate-mode primitives stream from one buffer; a display list is recorded into
// a static vertex buffer and replayed primitive by primitive; the matrix stacks live on the CPU.

#include <string>

namespace lumidor::web {

/// Needs a current WebGL 2 context. Compiles the shader pair, creates the shared buffers and fills
/// `GL`. Returns an empty string, or why the renderer could not start.
std::string InstallWebGLRenderer();

/// Puts destination alpha back to 1 over the whole drawing buffer, so the page shows the picture
/// as drawn rather than composited with what lies behind the canvas; call last in each frame.
void MakeFrameOpaque(int width, int height);

} // namespace lumidor::web
