// Fixed-function switches, queries and frame calls on WebGL 2. Switches WebGL does not have are
// state the shader reads; the fixed-function ones the project never draws with are accepted and
// ignored.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_capabilities.h"

#include <algorithm>
#include <cstring>

namespace lumidor::web::webgl {

namespace {

/// The switch the renderer keeps for `cap` itself (the shader reads it), or null for one WebGL keeps.
bool* OwnSwitch(TRendererState& state, GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        return &state.Texture2D;
    case GL_LIGHTING:
        return &state.Lighting;
    case GL_LIGHT0:
        return &state.Light0;
    case GL_ALPHA_TEST:
        return &state.AlphaTest;
    default:
        return nullptr;
    }
}

/// Switches WebGL has itself; other fixed-function switches (GL_NORMALIZE, GL_COLOR_MATERIAL, ...)
/// change nothing the renderer draws.
bool WebGLKeeps(GLenum cap) {
    switch (cap) {
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
    case GL_POLYGON_OFFSET_FILL:
    case GL_DITHER:
        return true;
    default:
        return false;
    }
}

} // namespace

void Enable(TRendererState& state, GLenum cap) {
    if (bool* own = OwnSwitch(state, cap)) {
        *own = true;
    } else if (WebGLKeeps(cap)) {
        glEnable(cap);
    }
}

void Disable(TRendererState& state, GLenum cap) {
    if (bool* own = OwnSwitch(state, cap)) {
        *own = false;
    } else if (WebGLKeeps(cap)) {
        glDisable(cap);
    }
}

GLboolean IsEnabled(TRendererState& state, GLenum cap) {
    if (const bool* own = OwnSwitch(state, cap)) return *own;
    switch (cap) {
    case GL_VERTEX_ARRAY:
        return state.VertexArray.Enabled;
    case GL_COLOR_ARRAY:
        return state.ColorArray.Enabled;
    case GL_TEXTURE_COORD_ARRAY:
        return state.TexCoordArray.Enabled;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
        return glIsEnabled(cap);
    default:
        return GL_FALSE;
    }
}

void AlphaFunc(TRendererState& state, GLenum func, GLclampf ref) {
    state.AlphaFunction = func;
    state.AlphaReference = std::clamp(ref, 0.0f, 1.0f);
}

void ClearColor(TRendererState& state, GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    state.ClearColor[0] = r;
    state.ClearColor[1] = g;
    state.ClearColor[2] = b;
    state.ClearColor[3] = a;
    glClearColor(r, g, b, a);
}

void GetFloatv(TRendererState& state, GLenum pname, GLfloat* params) {
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        std::memcpy(params, state.Modelview.back().data(), 16 * sizeof(float));
        return;
    case GL_PROJECTION_MATRIX:
        std::memcpy(params, state.Projection.back().data(), 16 * sizeof(float));
        return;
    case GL_CURRENT_COLOR:
        std::memcpy(params, state.CurrentColor, 4 * sizeof(float));
        return;
    default:
        glGetFloatv(pname, params);
    }
}

void GetIntegerv(TRendererState& state, GLenum pname, GLint* params) {
    switch (pname) {
    case GL_ARRAY_BUFFER_BINDING:
        *params = GLint(state.BoundArrayBuffer);
        return;
    case GL_TEXTURE_BINDING_2D:
        *params = GLint(state.BoundTexture);
        return;
    case GL_MATRIX_MODE:
        *params = GLint(state.MatrixMode);
        return;
    case GL_UNPACK_ALIGNMENT:
        *params = state.UnpackAlignment;
        return;
    default:
        glGetIntegerv(pname, params);
    }
}

void BlendFunc(TRendererState&, GLenum s, GLenum d) {
    glBlendFunc(s, d);
}

void DepthMask(TRendererState&, GLboolean flag) {
    glDepthMask(flag);
}

void ShadeModel(TRendererState&, GLenum) {} // smooth shading only

const GLubyte* GetString(TRendererState&, GLenum name) {
    return glGetString(name);
}

GLenum GetError(TRendererState&) {
    return glGetError();
}

void Viewport(TRendererState&, GLint x, GLint y, GLsizei w, GLsizei h) {
    glViewport(x, y, w, h);
}

void Clear(TRendererState&, GLbitfield mask) {
    glClear(mask);
}

void Finish(TRendererState&) {
    glFinish();
}

void ReadPixels(TRendererState&, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                void* pixels) {
    glReadPixels(x, y, w, h, format, type, pixels);
}

} // namespace lumidor::web::webgl
