#pragma once
// The WebGL renderer's matrix and lighting entries of the GL table: the matrix stacks live on the
// CPU (gl_matrix.h), the light and material in TLighting (gl_lighting.h); the shader reads both at
// each draw.

#include "web/webgl_state.h"

namespace lumidor::web::webgl {

// Each takes the GL call's parameters after the renderer's state.
void MatrixMode(TRendererState& state, GLenum mode);
void LoadIdentity(TRendererState& state);
void PushMatrix(TRendererState& state);
void PopMatrix(TRendererState& state);
void Translatef(TRendererState& state, GLfloat x, GLfloat y, GLfloat z);
void Rotatef(TRendererState& state, GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void Scalef(TRendererState& state, GLfloat x, GLfloat y, GLfloat z);
void Ortho(TRendererState& state, GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
           GLdouble zNear, GLdouble zFar);
void gluPerspective(TRendererState& state, GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void Materialf(TRendererState& state, GLenum face, GLenum pname, GLfloat param);
void Materialfv(TRendererState& state, GLenum face, GLenum pname, const GLfloat* params);
void Lightfv(TRendererState& state, GLenum light, GLenum pname, const GLfloat* params);

} // namespace lumidor::web::webgl
