#pragma once
// The WebGL renderer's capability, query and frame entries of the GL table: the fixed-function
// switches the shader reads (texturing, lighting, light 0, the alpha test) kept in the state, the
// ones WebGL has passed through, and the queries answered from the state where WebGL does not
// know the answer.

#include "web/webgl_state.h"

namespace lumidor::web::webgl {

// Each takes the GL call's parameters after the renderer's state.
void Enable(TRendererState& state, GLenum cap);
void Disable(TRendererState& state, GLenum cap);
GLboolean IsEnabled(TRendererState& state, GLenum cap);
void AlphaFunc(TRendererState& state, GLenum func, GLclampf ref);
void BlendFunc(TRendererState& state, GLenum sfactor, GLenum dfactor);
void DepthMask(TRendererState& state, GLboolean flag);
void ShadeModel(TRendererState& state, GLenum mode);
void GetFloatv(TRendererState& state, GLenum pname, GLfloat* params);
void GetIntegerv(TRendererState& state, GLenum pname, GLint* params);
const GLubyte* GetString(TRendererState& state, GLenum name);
GLenum GetError(TRendererState& state);
void Viewport(TRendererState& state, GLint x, GLint y, GLsizei width, GLsizei height);
void Clear(TRendererState& state, GLbitfield mask);
void ClearColor(TRendererState& state, GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void Finish(TRendererState& state);
void ReadPixels(TRendererState& state, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                GLenum type, void* pixels);

} // namespace lumidor::web::webgl
