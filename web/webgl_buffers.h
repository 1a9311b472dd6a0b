#pragma once
// The WebGL renderer's buffer-object and client-array entries of the GL table. WebGL cannot map a
// buffer, so each buffer has a CPU copy that glMapBuffer hands out; a draw sends WebGL the part of
// it the draw reads and WebGL does not hold yet. GL_QUADS are drawn as indexed triangles.

#include "web/webgl_state.h"

namespace lumidor::web::webgl {

// Each takes the GL call's parameters after the renderer's state.
void GenBuffersARB(TRendererState& state, GLsizei n, GLuint* buffers);
void DeleteBuffersARB(TRendererState& state, GLsizei n, const GLuint* buffers);
void BindBufferARB(TRendererState& state, GLenum target, GLuint buffer);
void BufferDataARB(TRendererState& state, GLenum target, GLsizeiptrARB size, const void* data, GLenum usage);
void* MapBufferARB(TRendererState& state, GLenum target, GLenum access);
GLboolean UnmapBufferARB(TRendererState& state, GLenum target);
void GetBufferParameterivARB(TRendererState& state, GLenum target, GLenum pname, GLint* params);
void EnableClientState(TRendererState& state, GLenum array);
void DisableClientState(TRendererState& state, GLenum array);
void InterleavedArrays(TRendererState& state, GLenum format, GLsizei stride, const void* pointer);
void DrawArrays(TRendererState& state, GLenum mode, GLint first, GLsizei count);

} // namespace lumidor::web::webgl
