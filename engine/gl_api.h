#pragma once
// The one thin layer through which every OpenGL and GLU call of the project goes.
// `GL` is filled once after a context is current (LoadGLFunctions, in gl_loader.h), or by the
// recording fake in gl_recorder.h so the engine runs without a context.

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstddef>

// X(return type, name without the "gl" prefix, parameter list, argument list)
#define LUMIDOR_GL_CORE_FUNCTIONS(X)                                                                         \
    X(void, Enable, (GLenum cap), (cap))                                                                     \
    X(void, Disable, (GLenum cap), (cap))                                                                    \
    X(GLboolean, IsEnabled, (GLenum cap), (cap))                                                             \
    X(void, AlphaFunc, (GLenum func, GLclampf ref), (func, ref))                                             \
    X(void, BlendFunc, (GLenum sfactor, GLenum dfactor), (sfactor, dfactor))                                 \
    X(void, DepthMask, (GLboolean flag), (flag))                                                             \
    X(void, ShadeModel, (GLenum mode), (mode))                                                               \
    X(void, BindTexture, (GLenum target, GLuint texture), (target, texture))                                 \
    X(void, GenTextures, (GLsizei n, GLuint * textures), (n, textures))                                      \
    X(void, DeleteTextures, (GLsizei n, const GLuint* textures), (n, textures))                              \
    X(void, TexEnvi, (GLenum target, GLenum pname, GLint param), (target, pname, param))                     \
    X(void, TexParameteri, (GLenum target, GLenum pname, GLint param), (target, pname, param))               \
    X(void, PixelStorei, (GLenum pname, GLint param), (pname, param))                                        \
    X(void, TexImage2D,                                                                                      \
      (GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,        \
       GLenum format, GLenum type, const void* pixels),                                                      \
      (target, level, internalFormat, width, height, border, format, type, pixels))                          \
    X(void, GetTexImage, (GLenum target, GLint level, GLenum format, GLenum type, void* pixels),             \
      (target, level, format, type, pixels))                                                                 \
    X(void, GetTexLevelParameteriv, (GLenum target, GLint level, GLenum pname, GLint * params),              \
      (target, level, pname, params))                                                                        \
    X(void, EnableClientState, (GLenum array), (array))                                                      \
    X(void, DisableClientState, (GLenum array), (array))                                                     \
    X(void, InterleavedArrays, (GLenum format, GLsizei stride, const void* pointer),                         \
      (format, stride, pointer))                                                                             \
    X(void, DrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))                     \
    X(void, GetFloatv, (GLenum pname, GLfloat * params), (pname, params))                                    \
    X(void, GetIntegerv, (GLenum pname, GLint * params), (pname, params))                                    \
    X(const GLubyte*, GetString, (GLenum name), (name))                                                      \
    X(GLenum, GetError, (), ())                                                                              \
    X(void, Begin, (GLenum mode), (mode))                                                                    \
    X(void, End, (), ())                                                                                     \
    X(void, Color3f, (GLfloat red, GLfloat green, GLfloat blue), (red, green, blue))                         \
    X(void, Color4f, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha), (red, green, blue, alpha))   \
    X(void, Vertex2f, (GLfloat x, GLfloat y), (x, y))                                                        \
    X(void, Vertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                                          \
    X(void, TexCoord2f, (GLfloat s, GLfloat t), (s, t))                                                      \
    X(void, Normal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz))                                    \
    X(void, MatrixMode, (GLenum mode), (mode))                                                               \
    X(void, LoadIdentity, (), ())                                                                            \
    X(void, PushMatrix, (), ())                                                                              \
    X(void, PopMatrix, (), ())                                                                               \
    X(void, Translatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                                        \
    X(void, Rotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z))                     \
    X(void, Scalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                                            \
    X(void, Ortho,                                                                                           \
      (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar),         \
      (left, right, bottom, top, zNear, zFar))                                                               \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))              \
    X(void, Clear, (GLbitfield mask), (mask))                                                                \
    X(void, ClearColor, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha),                       \
      (red, green, blue, alpha))                                                                             \
    X(void, Materialf, (GLenum face, GLenum pname, GLfloat param), (face, pname, param))                     \
    X(void, Materialfv, (GLenum face, GLenum pname, const GLfloat* params), (face, pname, params))           \
    X(void, Lightfv, (GLenum light, GLenum pname, const GLfloat* params), (light, pname, params))            \
    X(GLuint, GenLists, (GLsizei range), (range))                                                            \
    X(void, NewList, (GLuint list, GLenum mode), (list, mode))                                               \
    X(void, EndList, (), ())                                                                                 \
    X(void, CallList, (GLuint list), (list))                                                                 \
    X(void, Finish, (), ())                                                                                  \
    X(void, ReadPixels,                                                                                      \
      (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels),           \
      (x, y, width, height, format, type, pixels))

// Vertex-buffer objects from GL_ARB_vertex_buffer_object, resolved after the context is current.
#define LUMIDOR_GL_BUFFER_FUNCTIONS(X)                                                                       \
    X(void, GenBuffersARB, (GLsizei n, GLuint * buffers), (n, buffers))                                      \
    X(void, DeleteBuffersARB, (GLsizei n, const GLuint* buffers), (n, buffers))                              \
    X(void, BindBufferARB, (GLenum target, GLuint buffer), (target, buffer))                                 \
    X(void, BufferDataARB, (GLenum target, GLsizeiptrARB size, const void* data, GLenum usage),              \
      (target, size, data, usage))                                                                           \
    X(void*, MapBufferARB, (GLenum target, GLenum access), (target, access))                                 \
    X(GLboolean, UnmapBufferARB, (GLenum target), (target))                                                  \
    X(void, GetBufferParameterivARB, (GLenum target, GLenum pname, GLint * params), (target, pname, params))

// GLU, linked directly; named with the "glu" prefix kept so they read apart from GL.
#define LUMIDOR_GLU_FUNCTIONS(X)                                                                             \
    X(void, gluPerspective, (GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar),                 \
      (fovy, aspect, zNear, zFar))                                                                           \
    X(GLint, gluBuild2DMipmaps,                                                                              \
      (GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type,       \
       const void* data),                                                                                    \
      (target, internalFormat, width, height, format, type, data))

#define LUMIDOR_GL_ALL_FUNCTIONS(X)                                                                          \
    LUMIDOR_GL_CORE_FUNCTIONS(X)                                                                             \
    LUMIDOR_GL_BUFFER_FUNCTIONS(X)                                                                           \
    LUMIDOR_GLU_FUNCTIONS(X)

namespace lumidor {

/// Table of GL, ARB and GLU entry points. Every member is null until a loader or fake fills it.
struct TGLFunctions {
#define LUMIDOR_GL_MEMBER(ret, name, params, args) ret(*name) params = nullptr;
    LUMIDOR_GL_ALL_FUNCTIONS(LUMIDOR_GL_MEMBER)
#undef LUMIDOR_GL_MEMBER
    /// True once LoadGLFunctions (every entry point found) or the recording fake has filled the
    /// table. While false the engine makes no GL call: containers grow no buffer object, textures
    /// are decoded but not uploaded, terrain compiles no display list.
    bool Ready = false;
};

/// The process-wide table; all engine, texture, terrain, effect and app drawing calls go through it.
extern TGLFunctions GL;

/// Whether the program has set GL up (see TGLFunctions::Ready); false in a headless program.
inline bool GLAvailable() {
    return GL.Ready;
}

} // namespace lumidor
