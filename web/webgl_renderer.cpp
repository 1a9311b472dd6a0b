// Sections: state, shaders, textures (gluBuild2DMipmaps scales to powers of two as GLU does),
// buffers (mapped into a CPU copy), client arrays and draws, immediate mode and display lists,
// matrices and lighting, the table.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_renderer.h"

#include "engine/gl_api.h"
#include "web/gl_matrix.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace lumidor::web {

namespace {

// ---- state

enum TAttribute : GLuint { APosition = 0, AColor = 1, ATexCoord = 2, ANormal = 3 };

/// One immediate-mode vertex with everything current when glVertex was called.
struct TVertex {
    float Position[3];
    float Color[4];
    float TexCoord[2];
    float Normal[3];
};

/// A buffer object's CPU copy: what glMapBuffer hands out, sent to WebGL when a draw needs it.
struct TBufferCopy {
    std::vector<std::uint8_t> Bytes;
    std::size_t Uploaded = 0; ///< leading bytes WebGL already holds
    bool Mapped = false;
};

struct TListPrimitive {
    GLenum Mode;
    GLint First;
    GLsizei Count;
};

/// A display list: its primitives in one static vertex buffer.
struct TDisplayList {
    GLuint Buffer = 0;
    std::vector<TListPrimitive> Primitives;
    std::vector<TVertex> Recording; ///< vertices while the list is compiled
};

/// A client array as glVertexPointer and friends (here glInterleavedArrays) describe it.
struct TArray {
    bool Enabled = false;
    GLint Size = 4;
    GLenum Type = GL_FLOAT;
    GLsizei Stride = 0;
    std::uintptr_t Pointer = 0; ///< offset into the bound buffer, or a client address without one
    bool Normalized = false;
};

struct TUniforms {
    GLint Projection, Modelview, NormalMatrix, Lighting, Ambient, Diffuse, Specular, Shininess, LightPosition,
        UseTexture, Texture, AlphaFunc, AlphaRef;
};

struct TLight {
    std::array<float, 4> MaterialAmbient{0.2f, 0.2f, 0.2f, 1.0f};
    std::array<float, 4> MaterialDiffuse{0.8f, 0.8f, 0.8f, 1.0f};
    std::array<float, 4> MaterialSpecular{0.0f, 0.0f, 0.0f, 1.0f};
    float MaterialShininess = 0.0f;
    std::array<float, 4> Ambient{0.0f, 0.0f, 0.0f, 1.0f};
    std::array<float, 4> Diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> Specular{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<float, 4> EyePosition{0.0f, 0.0f, 1.0f, 0.0f}; ///< stored in eye space, as GL does
};

struct TRenderer {
    GLuint Program = 0;
    TUniforms Uniform{};
    GLuint StreamBuffer = 0;    ///< immediate-mode vertices and client arrays
    GLuint QuadIndexBuffer = 0; ///< 0 1 2 0 2 3, 4 5 6 4 6 7, ... for kQuadsPerDraw quads

    bool Texture2D = false, Lighting = false, Light0 = false, AlphaTest = false;
    GLenum AlphaFunction = GL_ALWAYS;
    float AlphaReference = 0.0f;
    float ClearColor[4] = {0, 0, 0, 0};
    GLint UnpackAlignment = 4;

    GLenum MatrixMode = GL_MODELVIEW;
    std::vector<TMatrix4> Modelview{IdentityMatrix()}, Projection{IdentityMatrix()},
        TextureMatrix{IdentityMatrix()};
    TLight Light;

    float CurrentColor[4] = {1, 1, 1, 1};
    float CurrentTexCoord[2] = {0, 0};
    float CurrentNormal[3] = {0, 0, 1};
    bool InBegin = false;
    GLenum BeginMode = GL_POINTS;
    std::vector<TVertex> Immediate;

    GLuint NextList = 1;
    GLuint CompilingList = 0;
    bool ExecuteWhileCompiling = false;
    std::unordered_map<GLuint, TDisplayList> Lists;

    GLuint BoundArrayBuffer = 0;
    std::unordered_map<GLuint, TBufferCopy> Buffers;

    GLuint BoundTexture = 0;
    std::unordered_map<GLuint, std::array<GLint, 2>> TextureSizes; ///< textures with an image: level 0 size

    TArray VertexArray, ColorArray, TexCoordArray, NormalArray;
};

TRenderer R;

constexpr GLsizei kQuadsPerDraw = 16384;
constexpr GLint kGluInvalidEnum = 100900;  // GLU's error codes
constexpr GLint kGluInvalidValue = 100901; // 65,536 vertices: the reach of 16-bit indices

std::vector<TMatrix4>& CurrentStack() {
    if (R.MatrixMode == GL_PROJECTION) return R.Projection;
    if (R.MatrixMode == GL_TEXTURE) return R.TextureMatrix;
    return R.Modelview;
}

// ---- shaders

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

std::string BuildProgram() {
    GLuint vertex = 0, fragment = 0;
    std::string error = CompileShader(GL_VERTEX_SHADER, kVertexShader, vertex);
    if (error.empty()) error = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader, fragment);
    if (!error.empty()) return error;
    R.Program = glCreateProgram();
    glAttachShader(R.Program, vertex);
    glAttachShader(R.Program, fragment);
    glBindAttribLocation(R.Program, APosition, "aPosition");
    glBindAttribLocation(R.Program, AColor, "aColor");
    glBindAttribLocation(R.Program, ATexCoord, "aTexCoord");
    glBindAttribLocation(R.Program, ANormal, "aNormal");
    glLinkProgram(R.Program);
    GLint ok = 0;
    glGetProgramiv(R.Program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetProgramInfoLog(R.Program, sizeof log, nullptr, log);
        return std::string("shader program: ") + log;
    }
    const auto at = [](const char* name) { return glGetUniformLocation(R.Program, name); };
    R.Uniform = {at("uProjection"),    at("uModelview"),  at("uNormalMatrix"), at("uLighting"),
                 at("uAmbient"),       at("uDiffuse"),    at("uSpecular"),     at("uShininess"),
                 at("uLightPosition"), at("uUseTexture"), at("uTexture"),      at("uAlphaFunc"),
                 at("uAlphaRef")};
    return {};
}

int AlphaFunctionCode() {
    if (!R.AlphaTest) return 7;
    switch (R.AlphaFunction) {
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

// Everything the fixed-function pipeline would read from its state, set before each draw (the UI
// backend draws with its own program and state between our draws).
void PrepareDraw() {
    glUseProgram(R.Program);
    glUniformMatrix4fv(R.Uniform.Projection, 1, GL_FALSE, R.Projection.back().data());
    glUniformMatrix4fv(R.Uniform.Modelview, 1, GL_FALSE, R.Modelview.back().data());
    glUniform1i(R.Uniform.Lighting, R.Lighting ? 1 : 0);
    if (R.Lighting) {
        const TLight& l = R.Light;
        const std::array<float, 9> normal = NormalMatrix(R.Modelview.back());
        glUniformMatrix3fv(R.Uniform.NormalMatrix, 1, GL_FALSE, normal.data());
        float ambient[4], diffuse[4], specular[4];
        for (int i = 0; i < 4; ++i) {
            const std::size_t k = std::size_t(i);
            // The light model's ambient (0.2) plus the light's own, both times the material's.
            ambient[i] = l.MaterialAmbient[k] * (0.2f + (R.Light0 ? l.Ambient[k] : 0.0f));
            diffuse[i] = R.Light0 ? l.MaterialDiffuse[k] * l.Diffuse[k] : 0.0f;
            specular[i] = R.Light0 ? l.MaterialSpecular[k] * l.Specular[k] : 0.0f;
        }
        diffuse[3] = l.MaterialDiffuse[3];
        glUniform4fv(R.Uniform.Ambient, 1, ambient);
        glUniform4fv(R.Uniform.Diffuse, 1, diffuse);
        glUniform4fv(R.Uniform.Specular, 1, specular);
        glUniform1f(R.Uniform.Shininess, l.MaterialShininess);
        glUniform4fv(R.Uniform.LightPosition, 1, l.EyePosition.data());
    }
    // A texture without an image is incomplete, which turns texturing off as in fixed-function GL.
    const bool textured = R.Texture2D && R.TextureSizes.count(R.BoundTexture) != 0;
    glUniform1i(R.Uniform.UseTexture, textured ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textured ? R.BoundTexture : 0);
    glUniform1i(R.Uniform.Texture, 0);
    glUniform1i(R.Uniform.AlphaFunc, AlphaFunctionCode());
    glUniform1f(R.Uniform.AlphaRef, R.AlphaReference);
}

// ---- textures

// GLU's rule: the nearest power of two, a value of 3 x 2^k rounding up.
GLint NearestPowerOfTwo(GLint value) {
    if (value <= 0) return 0;
    GLint power = 1;
    for (;;) {
        if (value == 1) return power;
        if (value == 3) return power * 4;
        value >>= 1;
        power *= 2;
    }
}

// Box filter when shrinking, bilinear when enlarging: close to gluScaleImage.
std::vector<std::uint8_t> ScaleImage(const std::uint8_t* in, int width, int height, int channels,
                                     int newWidth, int newHeight) {
    std::vector<std::uint8_t> out(std::size_t(newWidth) * std::size_t(newHeight) * std::size_t(channels));
    const float sx = float(width) / float(newWidth), sy = float(height) / float(newHeight);
    for (int y = 0; y < newHeight; ++y)
        for (int x = 0; x < newWidth; ++x) {
            const float x0 = float(x) * sx, x1 = x0 + sx, y0 = float(y) * sy, y1 = y0 + sy;
            for (int c = 0; c < channels; ++c) {
                float sum = 0.0f, weight = 0.0f;
                for (int iy = int(y0); iy < int(std::ceil(y1)) && iy < height; ++iy)
                    for (int ix = int(x0); ix < int(std::ceil(x1)) && ix < width; ++ix) {
                        const float wx = std::min(x1, float(ix + 1)) - std::max(x0, float(ix));
                        const float wy = std::min(y1, float(iy + 1)) - std::max(y0, float(iy));
                        const float w = std::max(wx, 0.0f) * std::max(wy, 0.0f);
                        sum += w * float(in[(std::size_t(iy) * std::size_t(width) + std::size_t(ix)) *
                                                std::size_t(channels) +
                                            std::size_t(c)]);
                        weight += w;
                    }
                out[(std::size_t(y) * std::size_t(newWidth) + std::size_t(x)) * std::size_t(channels) +
                    std::size_t(c)] = std::uint8_t(weight > 0.0f ? std::lround(sum / weight) : 0);
            }
        }
    return out;
}

GLenum UnsizedFormat(GLint internalFormat) {
    if (internalFormat == 3) return GL_RGB;
    if (internalFormat == 4) return GL_RGBA;
    return GLenum(internalFormat);
}

void WebTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                   GLint border, GLenum format, GLenum type, const void* pixels) {
    glTexImage2D(target, level, GLint(UnsizedFormat(internalFormat)), width, height, border, format, type,
                 pixels);
    if (level == 0) R.TextureSizes[R.BoundTexture] = {width, height};
}

GLint WebBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* data) {
    if (width < 1 || height < 1) return kGluInvalidValue;
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA)) return kGluInvalidEnum;
    const int channels = format == GL_RGBA ? 4 : 3;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    GLint newWidth = NearestPowerOfTwo(width), newHeight = NearestPowerOfTwo(height);
    while (maxSize > 0 && (newWidth > maxSize || newHeight > maxSize)) {
        newWidth = std::max(1, newWidth / 2);
        newHeight = std::max(1, newHeight / 2);
    }
    // Rows of the caller's data are padded to the unpack alignment.
    const std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
    const std::size_t alignment = std::size_t(std::max(R.UnpackAlignment, 1));
    const std::size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    std::vector<std::uint8_t> packed(rowBytes * std::size_t(height));
    for (GLsizei y = 0; y < height; ++y)
        std::memcpy(packed.data() + std::size_t(y) * rowBytes,
                    static_cast<const std::uint8_t*>(data) + std::size_t(y) * stride, rowBytes);
    if (newWidth != width || newHeight != height)
        packed = ScaleImage(packed.data(), width, height, channels, newWidth, newHeight);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, GLint(UnsizedFormat(internalFormat)), newWidth, newHeight, 0, format, type,
                 packed.data());
    glGenerateMipmap(target);
    glPixelStorei(GL_UNPACK_ALIGNMENT, R.UnpackAlignment);
    R.TextureSizes[R.BoundTexture] = {newWidth, newHeight};
    return 0;
}

void WebBindTexture(GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D) R.BoundTexture = texture;
    glBindTexture(target, texture);
}

void WebTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (pname == GL_GENERATE_MIPMAP) return; // mipmaps are made by gluBuild2DMipmaps
    if (param == GL_CLAMP) param = GL_CLAMP_TO_EDGE;
    glTexParameteri(target, pname, param);
}

void WebTexEnvi(GLenum, GLenum, GLint) {} // the shader always modulates
void WebShadeModel(GLenum) {}             // smooth shading only

void WebPixelStorei(GLenum pname, GLint param) {
    if (pname == GL_UNPACK_ALIGNMENT) R.UnpackAlignment = param;
    glPixelStorei(pname, param);
}

void WebGetTexImage(GLenum, GLint, GLenum, GLenum, void*) {} // WebGL cannot read textures back

void WebGetTexLevelParameteriv(GLenum, GLint level, GLenum pname, GLint* params) {
    const auto found = R.TextureSizes.find(R.BoundTexture);
    *params = 0;
    if (level != 0 || found == R.TextureSizes.end()) return;
    if (pname == GL_TEXTURE_WIDTH) *params = found->second[0];
    if (pname == GL_TEXTURE_HEIGHT) *params = found->second[1];
}

// ---- buffers

TBufferCopy* BoundCopy() {
    const auto found = R.Buffers.find(R.BoundArrayBuffer);
    return found == R.Buffers.end() ? nullptr : &found->second;
}

void WebGenBuffers(GLsizei n, GLuint* buffers) {
    glGenBuffers(n, buffers);
    for (GLsizei i = 0; i < n; ++i)
        R.Buffers[buffers[i]];
}

void WebDeleteBuffers(GLsizei n, const GLuint* buffers) {
    for (GLsizei i = 0; i < n; ++i) {
        R.Buffers.erase(buffers[i]);
        if (R.BoundArrayBuffer == buffers[i]) R.BoundArrayBuffer = 0;
    }
    glDeleteBuffers(n, buffers);
}

void WebBindBuffer(GLenum target, GLuint buffer) {
    if (target == GL_ARRAY_BUFFER) R.BoundArrayBuffer = buffer;
    glBindBuffer(target, buffer);
}

void WebBufferData(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
    glBufferData(target, size, data, usage);
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy() : nullptr;
    if (!copy || size < 0) return;
    copy->Bytes.resize(std::size_t(size));
    if (data) std::memcpy(copy->Bytes.data(), data, std::size_t(size));
    copy->Uploaded = data ? std::size_t(size) : 0;
}

void* WebMapBuffer(GLenum target, GLenum) {
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy() : nullptr;
    if (!copy || copy->Mapped || copy->Bytes.empty()) return nullptr;
    copy->Mapped = true;
    return copy->Bytes.data();
}

GLboolean WebUnmapBuffer(GLenum target) {
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy() : nullptr;
    if (!copy || !copy->Mapped) return GL_FALSE;
    copy->Mapped = false;
    copy->Uploaded = 0; // written through the pointer: sent again as far as a draw reads it
    return GL_TRUE;
}

void WebGetBufferParameteriv(GLenum target, GLenum pname, GLint* params) {
    const TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy() : nullptr;
    *params = 0;
    if (!copy) return;
    if (pname == GL_BUFFER_SIZE) *params = GLint(copy->Bytes.size());
    if (pname == GL_BUFFER_MAPPED) *params = copy->Mapped ? GL_TRUE : GL_FALSE;
}

// ---- client arrays and draws

void WebEnableClientState(GLenum array) {
    if (array == GL_VERTEX_ARRAY) R.VertexArray.Enabled = true;
    if (array == GL_COLOR_ARRAY) R.ColorArray.Enabled = true;
    if (array == GL_TEXTURE_COORD_ARRAY) R.TexCoordArray.Enabled = true;
    if (array == GL_NORMAL_ARRAY) R.NormalArray.Enabled = true;
}

void WebDisableClientState(GLenum array) {
    if (array == GL_VERTEX_ARRAY) R.VertexArray.Enabled = false;
    if (array == GL_COLOR_ARRAY) R.ColorArray.Enabled = false;
    if (array == GL_TEXTURE_COORD_ARRAY) R.TexCoordArray.Enabled = false;
    if (array == GL_NORMAL_ARRAY) R.NormalArray.Enabled = false;
}

// The formats the project may use; each sets its arrays and switches the others off, as GL does.
void WebInterleavedArrays(GLenum format, GLsizei stride, const void* pointer) {
    const auto base = reinterpret_cast<std::uintptr_t>(pointer);
    GLsizei size = 0;
    std::uintptr_t texCoord = 0, color = 0, vertex = 0;
    bool hasTexCoord = false, hasColor = false;
    switch (format) {
    case GL_V3F:
        size = 12;
        break;
    case GL_C4UB_V3F:
        hasColor = true;
        vertex = 4;
        size = 16;
        break;
    case GL_T2F_V3F:
        hasTexCoord = true;
        vertex = 8;
        size = 20;
        break;
    case GL_T2F_C4UB_V3F:
        hasTexCoord = hasColor = true;
        color = 8;
        vertex = 12;
        size = 24;
        break;
    default:
        return; // GL_INVALID_ENUM
    }
    if (stride == 0) stride = size;
    R.TexCoordArray = {hasTexCoord, 2, GL_FLOAT, stride, base + texCoord, false};
    R.ColorArray = {hasColor, 4, GL_UNSIGNED_BYTE, stride, base + color, true};
    R.VertexArray = {true, 3, GL_FLOAT, stride, base + vertex, false};
    R.NormalArray.Enabled = false;
}

void SetAttribute(GLuint location, const TArray& array, std::uintptr_t offset, const float* current,
                  int components) {
    if (array.Enabled) {
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, array.Size, array.Type, array.Normalized ? GL_TRUE : GL_FALSE,
                              array.Stride, reinterpret_cast<const void*>(array.Pointer + offset));
    } else {
        glDisableVertexAttribArray(location);
        float value[4] = {0, 0, 0, 1};
        for (int i = 0; i < components; ++i)
            value[i] = current[i];
        glVertexAttrib4fv(location, value);
    }
}

void SetArrayAttributes(std::uintptr_t offset) {
    SetAttribute(APosition, R.VertexArray, offset, nullptr, 0);
    SetAttribute(AColor, R.ColorArray, offset, R.CurrentColor, 4);
    SetAttribute(ATexCoord, R.TexCoordArray, offset, R.CurrentTexCoord, 2);
    SetAttribute(ANormal, R.NormalArray, offset, R.CurrentNormal, 3);
}

// Sends the part of the bound buffer's copy that vertices first .. first + count - 1 read.
void UploadForDraw(GLint first, GLsizei count) {
    TBufferCopy* copy = BoundCopy();
    if (!copy) return;
    std::size_t needed = 0;
    for (const TArray* array : {&R.VertexArray, &R.ColorArray, &R.TexCoordArray, &R.NormalArray}) {
        if (!array->Enabled) continue;
        needed = std::max(needed, std::size_t(array->Pointer) +
                                      std::size_t(first + count) * std::size_t(array->Stride));
    }
    needed = std::min(needed, copy->Bytes.size());
    if (needed <= copy->Uploaded) return;
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(copy->Uploaded), GLsizeiptr(needed - copy->Uploaded),
                    copy->Bytes.data() + copy->Uploaded);
    copy->Uploaded = needed;
}

void DrawQuadsAsTriangles(GLint first, GLsizei count, GLsizei stride) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, R.QuadIndexBuffer);
    const GLsizei quads = count / 4;
    for (GLsizei done = 0; done < quads; done += kQuadsPerDraw) {
        const GLsizei batch = std::min(kQuadsPerDraw, quads - done);
        SetArrayAttributes(std::uintptr_t(first + done * 4) * std::uintptr_t(stride));
        glDrawElements(GL_TRIANGLES, batch * 6, GL_UNSIGNED_SHORT, nullptr);
    }
}

void WebDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (!R.VertexArray.Enabled || count <= 0 || first < 0) return;
    if (R.BoundArrayBuffer == 0) return; // the project always draws arrays from a buffer object
    PrepareDraw();
    glBindBuffer(GL_ARRAY_BUFFER, R.BoundArrayBuffer);
    UploadForDraw(first, count);
    if (mode == GL_QUADS) {
        DrawQuadsAsTriangles(first, count, R.VertexArray.Stride);
    } else {
        SetArrayAttributes(0);
        glDrawArrays(mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode, first, count);
    }
}

// ---- immediate mode and display lists

// Quads become two triangles each, polygons a fan; other modes are WebGL's own.
GLenum ExpandPrimitive(GLenum mode, const std::vector<TVertex>& in, std::vector<TVertex>& out) {
    if (mode == GL_QUADS) {
        for (std::size_t q = 0; q + 3 < in.size(); q += 4)
            for (std::size_t k : {0u, 1u, 2u, 0u, 2u, 3u})
                out.push_back(in[q + k]);
        return GL_TRIANGLES;
    }
    if (mode == GL_QUAD_STRIP) {
        for (std::size_t q = 0; q + 3 < in.size(); q += 2)
            for (std::size_t k : {0u, 1u, 3u, 0u, 3u, 2u})
                out.push_back(in[q + k]);
        return GL_TRIANGLES;
    }
    out.insert(out.end(), in.begin(), in.end());
    return mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode;
}

void SetVertexLayout() {
    const GLsizei stride = sizeof(TVertex);
    const struct {
        GLuint Location;
        GLint Size;
        std::size_t Offset;
    } fields[] = {{APosition, 3, offsetof(TVertex, Position)},
                  {AColor, 4, offsetof(TVertex, Color)},
                  {ATexCoord, 2, offsetof(TVertex, TexCoord)},
                  {ANormal, 3, offsetof(TVertex, Normal)}};
    for (const auto& field : fields) {
        glEnableVertexAttribArray(field.Location);
        glVertexAttribPointer(field.Location, field.Size, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(field.Offset));
    }
}

void DrawStreamed(GLenum mode, const std::vector<TVertex>& vertices) {
    if (vertices.empty()) return;
    PrepareDraw();
    glBindBuffer(GL_ARRAY_BUFFER, R.StreamBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TVertex)), vertices.data(),
                 GL_STREAM_DRAW);
    SetVertexLayout();
    glDrawArrays(mode, 0, GLsizei(vertices.size()));
    glBindBuffer(GL_ARRAY_BUFFER, R.BoundArrayBuffer);
}

// A vertex on or behind the camera plane (clip w <= 0, as the near edge of the floor under the
// Stresstest Script) upsets SwiftShader's depth across the whole primitive, hiding what lies on it,
// where desktop GL clips. Primitives that reach behind the near plane are clipped against it here
// first, as GL's clipper would: attributes interpolated linearly, which is what clipping in
// homogeneous coordinates does.
TVertex Interpolate(const TVertex& a, const TVertex& b, float t) {
    TVertex v{};
    const float* from = &a.Position[0];
    const float* to = &b.Position[0];
    float* out = &v.Position[0];
    for (std::size_t i = 0; i < sizeof(TVertex) / sizeof(float); ++i)
        out[i] = from[i] + (to[i] - from[i]) * t;
    return v;
}

// Triangle lists and line lists only: strips and fans are unrolled first.
std::vector<TVertex> Unroll(GLenum mode, const std::vector<TVertex>& in, GLenum& listMode) {
    std::vector<TVertex> out;
    listMode = mode;
    if (mode == GL_TRIANGLE_STRIP || mode == GL_TRIANGLE_FAN) {
        listMode = GL_TRIANGLES;
        for (std::size_t i = 2; i < in.size(); ++i) {
            if (mode == GL_TRIANGLE_FAN) {
                out.insert(out.end(), {in[0], in[i - 1], in[i]});
            } else if (i % 2 == 0) {
                out.insert(out.end(), {in[i - 2], in[i - 1], in[i]});
            } else {
                out.insert(out.end(), {in[i - 1], in[i - 2], in[i]});
            }
        }
    } else if (mode == GL_LINE_STRIP || mode == GL_LINE_LOOP) {
        listMode = GL_LINES;
        for (std::size_t i = 1; i < in.size(); ++i)
            out.insert(out.end(), {in[i - 1], in[i]});
        if (mode == GL_LINE_LOOP && in.size() > 2) out.insert(out.end(), {in.back(), in.front()});
    } else {
        out = in;
    }
    return out;
}

GLenum ClipToNearPlane(GLenum mode, std::vector<TVertex>& vertices) {
    const TMatrix4 clip = MultiplyMatrices(R.Projection.back(), R.Modelview.back());
    // Signed distance to the near plane in clip space: z + w, negative behind it.
    const auto distance = [&](const TVertex& v) {
        const std::array<float, 4> c =
            TransformPoint(clip, v.Position[0], v.Position[1], v.Position[2], 1.0f);
        return c[2] + c[3];
    };
    constexpr float kInside = 0.0f; // on the plane is inside (the banner lies on it); w = 0 never is
    if (std::none_of(vertices.begin(), vertices.end(),
                     [&](const TVertex& v) { return distance(v) < kInside; }))
        return mode;
    GLenum listMode = mode;
    const std::vector<TVertex> list = Unroll(mode, vertices, listMode);
    const std::size_t corners = listMode == GL_TRIANGLES ? 3 : listMode == GL_LINES ? 2 : 0;
    if (corners == 0) return mode; // points: GL drops a point behind the plane whole
    std::vector<TVertex> out;
    for (std::size_t first = 0; first + corners <= list.size(); first += corners) {
        std::vector<TVertex> kept; // Sutherland-Hodgman against one plane
        for (std::size_t k = 0; k < corners; ++k) {
            const TVertex& a = list[first + k];
            const TVertex& b = list[first + (k + 1) % corners];
            const float da = distance(a), db = distance(b);
            if (da >= kInside) kept.push_back(a);
            if ((da >= kInside) != (db >= kInside))
                kept.push_back(Interpolate(a, b, (da - kInside) / (da - db)));
            if (corners == 2) break; // a segment has one edge
        }
        if (corners == 2) {
            const TVertex& b = list[first + 1];
            if (distance(b) >= kInside) kept.push_back(b);
            if (kept.size() == 2) out.insert(out.end(), kept.begin(), kept.end());
            continue;
        }
        for (std::size_t k = 2; k < kept.size(); ++k)
            out.insert(out.end(), {kept[0], kept[k - 1], kept[k]});
    }
    vertices = std::move(out);
    return listMode;
}

void WebBegin(GLenum mode) {
    R.InBegin = true;
    R.BeginMode = mode;
    R.Immediate.clear();
}

void WebEnd() {
    if (!R.InBegin) return;
    R.InBegin = false;
    if (R.CompilingList != 0) {
        TDisplayList& list = R.Lists[R.CompilingList];
        const GLint first = GLint(list.Recording.size());
        const GLenum mode = ExpandPrimitive(R.BeginMode, R.Immediate, list.Recording);
        list.Primitives.push_back({mode, first, GLsizei(GLint(list.Recording.size()) - first)});
        if (!R.ExecuteWhileCompiling) return;
    }
    std::vector<TVertex> expanded;
    GLenum mode = ExpandPrimitive(R.BeginMode, R.Immediate, expanded);
    mode = ClipToNearPlane(mode, expanded);
    DrawStreamed(mode, expanded);
}

void WebVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!R.InBegin) return;
    TVertex v{};
    v.Position[0] = x;
    v.Position[1] = y;
    v.Position[2] = z;
    std::memcpy(v.Color, R.CurrentColor, sizeof v.Color);
    std::memcpy(v.TexCoord, R.CurrentTexCoord, sizeof v.TexCoord);
    std::memcpy(v.Normal, R.CurrentNormal, sizeof v.Normal);
    R.Immediate.push_back(v);
}

void WebVertex2f(GLfloat x, GLfloat y) {
    WebVertex3f(x, y, 0.0f);
}
void WebColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    R.CurrentColor[0] = r;
    R.CurrentColor[1] = g;
    R.CurrentColor[2] = b;
    R.CurrentColor[3] = a;
}
void WebColor3f(GLfloat r, GLfloat g, GLfloat b) {
    WebColor4f(r, g, b, 1.0f);
}
void WebTexCoord2f(GLfloat s, GLfloat t) {
    R.CurrentTexCoord[0] = s;
    R.CurrentTexCoord[1] = t;
}
void WebNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    R.CurrentNormal[0] = x;
    R.CurrentNormal[1] = y;
    R.CurrentNormal[2] = z;
}

GLuint WebGenLists(GLsizei range) {
    if (range <= 0) return 0;
    const GLuint first = R.NextList;
    R.NextList += GLuint(range);
    return first;
}

void WebNewList(GLuint list, GLenum mode) {
    if (list == 0 || R.CompilingList != 0) return;
    R.CompilingList = list;
    R.ExecuteWhileCompiling = mode == GL_COMPILE_AND_EXECUTE;
    TDisplayList& recorded = R.Lists[list];
    recorded.Primitives.clear();
    recorded.Recording.clear();
}

void WebEndList() {
    if (R.CompilingList == 0) return;
    TDisplayList& list = R.Lists[R.CompilingList];
    R.CompilingList = 0;
    if (list.Buffer == 0) glGenBuffers(1, &list.Buffer);
    glBindBuffer(GL_ARRAY_BUFFER, list.Buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(list.Recording.size() * sizeof(TVertex)), list.Recording.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, R.BoundArrayBuffer);
    list.Recording.clear();
    list.Recording.shrink_to_fit();
}

void WebCallList(GLuint list) {
    const auto found = R.Lists.find(list);
    if (found == R.Lists.end() || found->second.Buffer == 0 || found->second.Primitives.empty()) return;
    PrepareDraw();
    glBindBuffer(GL_ARRAY_BUFFER, found->second.Buffer);
    SetVertexLayout();
    for (const TListPrimitive& primitive : found->second.Primitives)
        glDrawArrays(primitive.Mode, primitive.First, primitive.Count);
    glBindBuffer(GL_ARRAY_BUFFER, R.BoundArrayBuffer);
}

// ---- capabilities, matrices and lighting

void WebEnable(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        R.Texture2D = true;
        return;
    case GL_LIGHTING:
        R.Lighting = true;
        return;
    case GL_LIGHT0:
        R.Light0 = true;
        return;
    case GL_ALPHA_TEST:
        R.AlphaTest = true;
        return;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
    case GL_POLYGON_OFFSET_FILL:
    case GL_DITHER:
        glEnable(cap);
        return;
    default:
        return; // fixed-function switches the renderer does not draw (GL_NORMALIZE, GL_COLOR_MATERIAL, ...)
    }
}

void WebDisable(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        R.Texture2D = false;
        return;
    case GL_LIGHTING:
        R.Lighting = false;
        return;
    case GL_LIGHT0:
        R.Light0 = false;
        return;
    case GL_ALPHA_TEST:
        R.AlphaTest = false;
        return;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
    case GL_POLYGON_OFFSET_FILL:
    case GL_DITHER:
        glDisable(cap);
        return;
    default:
        return;
    }
}

GLboolean WebIsEnabled(GLenum cap) {
    switch (cap) {
    case GL_TEXTURE_2D:
        return R.Texture2D;
    case GL_LIGHTING:
        return R.Lighting;
    case GL_LIGHT0:
        return R.Light0;
    case GL_ALPHA_TEST:
        return R.AlphaTest;
    case GL_VERTEX_ARRAY:
        return R.VertexArray.Enabled;
    case GL_COLOR_ARRAY:
        return R.ColorArray.Enabled;
    case GL_TEXTURE_COORD_ARRAY:
        return R.TexCoordArray.Enabled;
    case GL_BLEND:
    case GL_DEPTH_TEST:
    case GL_CULL_FACE:
    case GL_SCISSOR_TEST:
        return glIsEnabled(cap);
    default:
        return GL_FALSE;
    }
}

void WebAlphaFunc(GLenum func, GLclampf ref) {
    R.AlphaFunction = func;
    R.AlphaReference = std::clamp(ref, 0.0f, 1.0f);
}

void WebClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    R.ClearColor[0] = r;
    R.ClearColor[1] = g;
    R.ClearColor[2] = b;
    R.ClearColor[3] = a;
    glClearColor(r, g, b, a);
}

void WebMatrixMode(GLenum mode) {
    if (mode == GL_MODELVIEW || mode == GL_PROJECTION || mode == GL_TEXTURE) R.MatrixMode = mode;
}
void WebLoadIdentity() {
    CurrentStack().back() = IdentityMatrix();
}
void WebPushMatrix() {
    std::vector<TMatrix4>& stack = CurrentStack();
    if (stack.size() < 32) stack.push_back(stack.back()); // GL's minimum depth; more is an overflow
}
void WebPopMatrix() {
    std::vector<TMatrix4>& stack = CurrentStack();
    if (stack.size() > 1) stack.pop_back();
}
void MultiplyCurrent(const TMatrix4& m) {
    TMatrix4& top = CurrentStack().back();
    top = MultiplyMatrices(top, m);
}
void WebTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(TranslationMatrix(x, y, z));
}
void WebRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(RotationMatrix(angle, x, y, z));
}
void WebScalef(GLfloat x, GLfloat y, GLfloat z) {
    MultiplyCurrent(ScaleMatrix(x, y, z));
}
void WebOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    MultiplyCurrent(OrthoMatrix(l, r, b, t, n, f));
}
void WebPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    MultiplyCurrent(PerspectiveMatrix(fovy, aspect, zNear, zFar));
}

void WebGetFloatv(GLenum pname, GLfloat* params) {
    switch (pname) {
    case GL_MODELVIEW_MATRIX:
        std::memcpy(params, R.Modelview.back().data(), 16 * sizeof(float));
        return;
    case GL_PROJECTION_MATRIX:
        std::memcpy(params, R.Projection.back().data(), 16 * sizeof(float));
        return;
    case GL_CURRENT_COLOR:
        std::memcpy(params, R.CurrentColor, 4 * sizeof(float));
        return;
    default:
        glGetFloatv(pname, params);
    }
}

void WebGetIntegerv(GLenum pname, GLint* params) {
    switch (pname) {
    case GL_ARRAY_BUFFER_BINDING:
        *params = GLint(R.BoundArrayBuffer);
        return;
    case GL_TEXTURE_BINDING_2D:
        *params = GLint(R.BoundTexture);
        return;
    case GL_MATRIX_MODE:
        *params = GLint(R.MatrixMode);
        return;
    case GL_UNPACK_ALIGNMENT:
        *params = R.UnpackAlignment;
        return;
    default:
        glGetIntegerv(pname, params);
    }
}

std::array<float, 4> FourFloats(const GLfloat* params) {
    return {params[0], params[1], params[2], params[3]};
}

void WebMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    if (face != GL_FRONT && face != GL_FRONT_AND_BACK) return; // back faces are lit with the front material
    TLight& l = R.Light;
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

void WebMaterialf(GLenum face, GLenum pname, GLfloat param) {
    const GLfloat params[4] = {param, 0, 0, 0};
    if (pname == GL_SHININESS) WebMaterialfv(face, pname, params);
}

void WebLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    if (light != GL_LIGHT0) return;
    TLight& l = R.Light;
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
        l.EyePosition = TransformPoint(R.Modelview.back(), params[0], params[1], params[2], params[3]);
        break;
    default:
        break;
    }
}

// ---- pass-throughs WebGL has as they are

void WebBlendFunc(GLenum s, GLenum d) {
    glBlendFunc(s, d);
}
void WebDepthMask(GLboolean flag) {
    glDepthMask(flag);
}
[[maybe_unused]] void WebDeleteTextures(GLsizei n, const GLuint* textures) {
    for (GLsizei i = 0; i < n; ++i) {
        R.TextureSizes.erase(textures[i]);
        if (R.BoundTexture == textures[i]) R.BoundTexture = 0;
    }
    glDeleteTextures(n, textures);
}
void WebGenTextures(GLsizei n, GLuint* textures) {
    glGenTextures(n, textures);
}
const GLubyte* WebGetString(GLenum name) {
    return glGetString(name);
}
GLenum WebGetError() {
    return glGetError();
}
void WebViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    glViewport(x, y, w, h);
}
void WebClear(GLbitfield mask) {
    glClear(mask);
}
void WebFinish() {
    glFinish();
}
void WebReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels) {
    glReadPixels(x, y, w, h, format, type, pixels);
}

// Entries the table may carry beyond those above (texture deletion, the flag that says GL is set
// up): filled when this version of the table has them.
template <typename Table> void FillLaterEntries(Table& table) {
    if constexpr (requires { table.DeleteTextures; }) table.DeleteTextures = &WebDeleteTextures;
    if constexpr (requires { table.Ready; }) table.Ready = true;
}

} // namespace

// ---- the table

std::string InstallWebGLRenderer() {
    R = TRenderer{};
    if (std::string error = BuildProgram(); !error.empty())
        return "The WebGL renderer could not start: " + error;
    glGenBuffers(1, &R.StreamBuffer);
    glGenBuffers(1, &R.QuadIndexBuffer);
    std::vector<std::uint16_t> indices;
    indices.reserve(std::size_t(kQuadsPerDraw) * 6);
    for (std::uint32_t q = 0; q < std::uint32_t(kQuadsPerDraw); ++q)
        for (std::uint32_t k : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(std::uint16_t(q * 4 + k));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, R.QuadIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint16_t)), indices.data(),
                 GL_STATIC_DRAW);

    GL = TGLFunctions{};
    GL.Enable = &WebEnable;
    GL.Disable = &WebDisable;
    GL.IsEnabled = &WebIsEnabled;
    GL.AlphaFunc = &WebAlphaFunc;
    GL.BlendFunc = &WebBlendFunc;
    GL.DepthMask = &WebDepthMask;
    GL.ShadeModel = &WebShadeModel;
    GL.BindTexture = &WebBindTexture;
    GL.GenTextures = &WebGenTextures;
    GL.TexEnvi = &WebTexEnvi;
    GL.TexParameteri = &WebTexParameteri;
    GL.PixelStorei = &WebPixelStorei;
    GL.TexImage2D = &WebTexImage2D;
    GL.GetTexImage = &WebGetTexImage;
    GL.GetTexLevelParameteriv = &WebGetTexLevelParameteriv;
    GL.EnableClientState = &WebEnableClientState;
    GL.DisableClientState = &WebDisableClientState;
    GL.InterleavedArrays = &WebInterleavedArrays;
    GL.DrawArrays = &WebDrawArrays;
    GL.GetFloatv = &WebGetFloatv;
    GL.GetIntegerv = &WebGetIntegerv;
    GL.GetString = &WebGetString;
    GL.GetError = &WebGetError;
    GL.Begin = &WebBegin;
    GL.End = &WebEnd;
    GL.Color3f = &WebColor3f;
    GL.Color4f = &WebColor4f;
    GL.Vertex2f = &WebVertex2f;
    GL.Vertex3f = &WebVertex3f;
    GL.TexCoord2f = &WebTexCoord2f;
    GL.Normal3f = &WebNormal3f;
    GL.MatrixMode = &WebMatrixMode;
    GL.LoadIdentity = &WebLoadIdentity;
    GL.PushMatrix = &WebPushMatrix;
    GL.PopMatrix = &WebPopMatrix;
    GL.Translatef = &WebTranslatef;
    GL.Rotatef = &WebRotatef;
    GL.Scalef = &WebScalef;
    GL.Ortho = &WebOrtho;
    GL.Viewport = &WebViewport;
    GL.Clear = &WebClear;
    GL.ClearColor = &WebClearColor;
    GL.Materialf = &WebMaterialf;
    GL.Materialfv = &WebMaterialfv;
    GL.Lightfv = &WebLightfv;
    GL.GenLists = &WebGenLists;
    GL.NewList = &WebNewList;
    GL.EndList = &WebEndList;
    GL.CallList = &WebCallList;
    GL.Finish = &WebFinish;
    GL.ReadPixels = &WebReadPixels;
    GL.GenBuffersARB = &WebGenBuffers;
    GL.DeleteBuffersARB = &WebDeleteBuffers;
    GL.BindBufferARB = &WebBindBuffer;
    GL.BufferDataARB = &WebBufferData;
    GL.MapBufferARB = &WebMapBuffer;
    GL.UnmapBufferARB = &WebUnmapBuffer;
    GL.GetBufferParameterivARB = &WebGetBufferParameteriv;
    GL.gluPerspective = &WebPerspective;
    GL.gluBuild2DMipmaps = &WebBuild2DMipmaps;
    FillLaterEntries(GL);
    return {};
}

void MakeFrameOpaque(int width, int height) {
    glViewport(0, 0, width, height);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(R.ClearColor[0], R.ClearColor[1], R.ClearColor[2], R.ClearColor[3]);
}

} // namespace lumidor::web
