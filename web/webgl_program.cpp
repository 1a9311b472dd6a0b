// The shader pair and the uniforms it reads. The vertex shader lights as GL does for one light with
// an infinite viewer and no attenuation or spot; the fragment shader modulates the texture by the
// vertex colour and applies the alpha test.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_program.h"

namespace lumidor::web {

namespace {

const char* const kVertexShader = R"(
attribute vec3 aPosition;
attribute vec4 aColor;
attribute vec2 aTexCoord;
attribute vec3 aNormal;
uniform mat4 uProjection;
uniform mat4 uModelview;
uniform mat3 uNormalMatrix;
uniform bool uLighting;
uniform vec4 uAmbient;
uniform vec4 uDiffuse;
uniform vec4 uSpecular;
uniform float uShininess;
uniform vec4 uLightPosition;
varying vec4 vColor;
varying vec2 vTexCoord;
void main() {
    vec4 eye = uModelview * vec4(aPosition, 1.0);
    gl_Position = uProjection * eye;
    vTexCoord = aTexCoord;
    if (uLighting) {
        // GL's lighting equation for one light, infinite viewer, no attenuation or spot.
        vec3 n = uNormalMatrix * aNormal;
        vec3 l = uLightPosition.w == 0.0 ? normalize(uLightPosition.xyz)
                                         : normalize(uLightPosition.xyz - eye.xyz / eye.w);
        float nl = dot(n, l);
        vec3 c = uAmbient.rgb + max(nl, 0.0) * uDiffuse.rgb;
        if (nl > 0.0) {
            vec3 h = normalize(l + vec3(0.0, 0.0, 1.0));
            float nh = max(dot(n, h), 0.0);
            c += (uShininess == 0.0 ? 1.0 : pow(nh, uShininess)) * uSpecular.rgb;
        }
        vColor = vec4(clamp(c, 0.0, 1.0), uDiffuse.a);
    } else {
        vColor = aColor;
    }
}
)";

const char* const kFragmentShader = R"(
precision mediump float;
uniform bool uUseTexture;
uniform sampler2D uTexture;
uniform int uAlphaFunc;
uniform float uAlphaRef;
varying vec4 vColor;
varying vec2 vTexCoord;
void main() {
    vec4 c = vColor;
    if (uUseTexture) c *= texture2D(uTexture, vTexCoord);
    // 0 never, 1 less, 2 equal, 3 lequal, 4 greater, 5 notequal, 6 gequal, 7 always (no test)
    bool pass = uAlphaFunc == 7 || (uAlphaFunc == 1 && c.a < uAlphaRef) || (uAlphaFunc == 2 && c.a == uAlphaRef) ||
                (uAlphaFunc == 3 && c.a <= uAlphaRef) || (uAlphaFunc == 4 && c.a > uAlphaRef) ||
                (uAlphaFunc == 5 && c.a != uAlphaRef) || (uAlphaFunc == 6 && c.a >= uAlphaRef);
    if (!pass) discard;
    gl_FragColor = c;
}
)";

std::string CompileShader(GLenum kind, const char* source, GLuint& shader) {
    shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return {};
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    return std::string(kind == GL_VERTEX_SHADER ? "vertex" : "fragment") + " shader: " + log;
}

int AlphaFunctionCode(const TRendererState& state) {
    if (!state.AlphaTest) return 7;
    switch (state.AlphaFunction) {
    case GL_NEVER:
        return 0;
    case GL_LESS:
        return 1;
    case GL_EQUAL:
        return 2;
    case GL_LEQUAL:
        return 3;
    case GL_GREATER:
        return 4;
    case GL_NOTEQUAL:
        return 5;
    case GL_GEQUAL:
        return 6;
    default:
        return 7;
    }
}

} // namespace

std::string BuildProgram(TRendererState& state) {
    GLuint vertex = 0, fragment = 0;
    std::string error = CompileShader(GL_VERTEX_SHADER, kVertexShader, vertex);
    if (error.empty()) error = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, fragment);
    if (!error.empty()) return error;
    state.Program = glCreateProgram();
    glAttachShader(state.Program, vertex);
    glAttachShader(state.Program, fragment);
    glBindAttribLocation(state.Program, APosition, "aPosition");
    glBindAttribLocation(state.Program, AColor, "aColor");
    glBindAttribLocation(state.Program, ATexCoord, "aTexCoord");
    glBindAttribLocation(state.Program, ANormal, "aNormal");
    glLinkProgram(state.Program);
    GLint ok = 0;
    glGetProgramiv(state.Program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetProgramInfoLog(state.Program, sizeof log, nullptr, log);
        return std::string("shader program: ") + log;
    }
    const auto at = [&state](const char* name) { return glGetUniformLocation(state.Program, name); };
    state.Uniform = {at("uProjection"),    at("uModelview"),  at("uNormalMatrix"), at("uLighting"),
                     at("uAmbient"),       at("uDiffuse"),    at("uSpecular"),     at("uShininess"),
                     at("uLightPosition"), at("uUseTexture"), at("uTexture"),      at("uAlphaFunc"),
                     at("uAlphaRef")};
    return {};
}

void PrepareDraw(TRendererState& state) {
    glUseProgram(state.Program);
    glUniformMatrix4fv(state.Uniform.Projection, 1, GL_FALSE, state.Projection.back().data());
    glUniformMatrix4fv(state.Uniform.Modelview, 1, GL_FALSE, state.Modelview.back().data());
    glUniform1i(state.Uniform.Lighting, state.Lighting ? 1 : 0);
    if (state.Lighting) {
        const std::array<float, 9> normal = NormalMatrix(state.Modelview.back());
        glUniformMatrix3fv(state.Uniform.NormalMatrix, 1, GL_FALSE, normal.data());
        const TLightProducts light = LightProducts(state.Light, state.Light0);
        glUniform4fv(state.Uniform.Ambient, 1, light.Ambient.data());
        glUniform4fv(state.Uniform.Diffuse, 1, light.Diffuse.data());
        glUniform4fv(state.Uniform.Specular, 1, light.Specular.data());
        glUniform1f(state.Uniform.Shininess, light.Shininess);
        glUniform4fv(state.Uniform.LightPosition, 1, light.EyePosition.data());
    }
    // A texture without an image is incomplete, which turns texturing off as in fixed-function GL.
    const bool textured = state.Texture2D && state.TextureSizes.count(state.BoundTexture) != 0;
    glUniform1i(state.Uniform.UseTexture, textured ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textured ? state.BoundTexture : 0);
    glUniform1i(state.Uniform.Texture, 0);
    glUniform1i(state.Uniform.AlphaFunc, AlphaFunctionCode(state));
    glUniform1f(state.Uniform.AlphaRef, state.AlphaReference);
}

} // namespace lumidor::web
