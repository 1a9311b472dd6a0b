#pragma once
// The WebGL renderer's texture entries of the GL table: fixed-function texture state mapped onto
// WebGL 2, and gluBuild2DMipmaps made of glu_image.h and WebGL's own mipmap generation.

#include "web/webgl_state.h"

namespace lumidor::web::webgl {

// Each takes the GL call's parameters after the renderer's state.
void BindTexture(TRendererState& state, GLenum target, GLuint texture);
void GenTextures(TRendererState& state, GLsizei n, GLuint* textures);
void DeleteTextures(TRendererState& state, GLsizei n, const GLuint* textures);
void TexEnvi(TRendererState& state, GLenum target, GLenum pname, GLint param);
void TexParameteri(TRendererState& state, GLenum target, GLenum pname, GLint param);
void PixelStorei(TRendererState& state, GLenum pname, GLint param);
void TexImage2D(TRendererState& state, GLenum target, GLint level, GLint internalFormat, GLsizei width,
                GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels);
void GetTexImage(TRendererState& state, GLenum target, GLint level, GLenum format, GLenum type, void* pixels);
void GetTexLevelParameteriv(TRendererState& state, GLenum target, GLint level, GLenum pname, GLint* params);
GLint gluBuild2DMipmaps(TRendererState& state, GLenum target, GLint internalFormat, GLsizei width,
                        GLsizei height, GLenum format, GLenum type, const void* data);

} // namespace lumidor::web::webgl
