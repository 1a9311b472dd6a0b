// Matrix stacks and the light on the CPU, as fixed-function GL keeps them.

#include "web/webgl_transform.h"

#include <algorithm>

namespace lumidor::web::webgl {

namespace {

std::vector<TMatrix4>& CurrentStack(TRendererState& state) {
    if (state.MatrixMode == GL_PROJECTION) return state.Projection;
    if (state.MatrixMode == GL_TEXTURE) return state.TextureMatrix;
    return state.Modelview;
}

void MultiplyCurrent(TRendererState& state, const TMatrix4& m) {
    TMatrix4& top = CurrentStack(state).back();
    top = MultiplyMatrices(top, m);
}

std::array<float, 4> FourFloats(const GLfloat* params) {
    return {params[0], params[1], params[2], params[3]};
}

} // namespace

void MatrixMode(TRendererState& state, GLenum mode) {
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION || mode == GL_TEXTURE) state.MatrixMode = mode;
}

void LoadIdentity(TRendererState& state) {
    CurrentStack(state).back() = IdentityMatrix();
}

void PushMatrix(TRendererState& state) {
    std::vector<TMatrix4>& stack = CurrentStack(state);
    if (stack.size() < 32) stack.push_back(stack.back()); // GL's minimum depth; more is an overflow
}

void PopMatrix(TRendererState& state) {
    std::vector<TMatrix4>& stack = CurrentStack(state);
    if (stack.size() > 1) stack.pop_back();
}

void Translatef(TRendererState& state, GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(state, TranslationMatrix(x, y, z));
}

void Rotatef(TRendererState& state, GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(state, RotationMatrix(angle, x, y, z));
}

void Scalef(TRendererState& state, GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(state, ScaleMatrix(x, y, z));
}

void Ortho(TRendererState& state, GLdouble left, GLdouble right, GLdouble bottom, GLdouble top,
           GLdouble zNear, GLdouble zFar) {
    MultiplyCurrent(state, OrthoMatrix(left, right, bottom, top, zNear, zFar));
}

void gluPerspective(TRendererState& state, GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    MultiplyCurrent(state, PerspectiveMatrix(fovy, aspect, zNear, zFar));
}

void Materialfv(TRendererState& state, GLenum face, GLenum pname, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return; // back faces are lit with the front material
    TLighting& l = state.Light;
    switch (pname) {
    case GL_AMBIENT:
        l.MaterialAmbient = FourFloats(params);
        break;
    case GL_DIFFUSE:
        l.MaterialDiffuse = FourFloats(params);
        break;
    case GL_AMBIENT_AND_DIFFUSE:
        l.MaterialAmbient = l.MaterialDiffuse = FourFloats(params);
        break;
    case GL_SPECULAR:
        l.MaterialSpecular = FourFloats(params);
        break;
    case GL_SHININESS:
        l.MaterialShininess = std::clamp(params[0], 0.0f, 128.0f);
        break;
    default:
        break;
    }
}

void Materialf(TRendererState& state, GLenum face, GLenum pname, GLfloat param) {
    const GLfloat params[4] = {param, 0, 0, 0};
    if (pname == GL_SHININESS) Materialfv(state, face, pname, params);
}

void Lightfv(TRendererState& state, GLenum light, GLenum pname, const GLfloat* params) {
    if (light != GL_LIGHT0) return;
    TLighting& l = state.Light;
    switch (pname) {
    case GL_AMBIENT:
        l.Ambient = FourFloats(params);
        break;
    case GL_DIFFUSE:
        l.Diffuse = FourFloats(params);
        break;
    case GL_SPECULAR:
        l.Specular = FourFloats(params);
        break;
    case GL_POSITION: // kept in eye space: transformed by the modelview matrix at the time of the call
        l.EyePosition = TransformPoint(state.Modelview.back(), params[0], params[1], params[2], params[3]);
        break;
    default:
        break;
    }
}

} // namespace lumidor::web::webgl
