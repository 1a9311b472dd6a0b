#pragma once
// The WebGL renderer's immediate-mode and display-list entries of the GL table. Vertices between
// glBegin and glEnd collect with the colour, texture coordinate and normal current at each; glEnd
// expands the primitive (gl_primitives.h), clips it at the near plane and streams it from one
// buffer. A display list records the expanded primitives into a static buffer and replays them.

#include "web/webgl_state.h"

namespace lumidor::web::webgl {

// Each takes the GL call's parameters after the renderer's state.
void Begin(TRendererState& state, GLenum mode);
void End(TRendererState& state);
void Vertex2f(TRendererState& state, GLfloat x, GLfloat y);
void Vertex3f(TRendererState& state, GLfloat x, GLfloat y, GLfloat z);
void Color3f(TRendererState& state, GLfloat red, GLfloat green, GLfloat blue);
void Color4f(TRendererState& state, GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void TexCoord2f(TRendererState& state, GLfloat s, GLfloat t);
void Normal3f(TRendererState& state, GLfloat nx, GLfloat ny, GLfloat nz);
GLuint GenLists(TRendererState& state, GLsizei range);
void NewList(TRendererState& state, GLuint list, GLenum mode);
void EndList(TRendererState& state);
void CallList(TRendererState& state, GLuint list);

} // namespace lumidor::web::webgl
