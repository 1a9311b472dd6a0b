#pragma once
// The WebGL renderer's state: what fixed-function GL would hold and WebGL does not (matrix stacks,
// the light, immediate-mode vertices, display lists, client arrays, CPU copies of buffers), plus the
// renderer's own shader program and buffers. One TRendererState is the context every part of the
// renderer (webgl_*.cpp) is handed; webgl_renderer.cpp owns the one the GL table draws with.

#include "engine/gl_api.h"
#include "web/gl_lighting.h"
#include "web/gl_matrix.h"
#include "web/gl_primitives.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace lumidor::web {

/// The vertex shader's attribute locations.
enum TAttribute : GLuint { APosition = 0, AColor = 1, ATexCoord = 2, ANormal = 3 };

/// A buffer object's CPU copy: what glMapBuffer hands out, sent to WebGL when a draw needs it.
struct TBufferCopy {
    std::vector<std::uint8_t> Bytes;
    std::size_t Uploaded = 0; ///< leading bytes WebGL already holds
    bool Mapped = false;
};

/// One primitive of a display list: vertices First .. First + Count - 1 of its buffer.
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

/// The shader program's uniform locations.
struct TUniforms {
    GLint Projection, Modelview, NormalMatrix, Lighting, Ambient, Diffuse, Specular, Shininess, LightPosition,
        UseTexture, Texture, AlphaFunc, AlphaRef;
};

/// Quads drawn per glDrawElements: 65,536 vertices, the reach of 16-bit indices.
constexpr GLsizei kQuadsPerDraw = 16384;

/// Everything the renderer keeps between GL calls.
struct TRendererState {
    GLuint Program = 0;
    TUniforms Uniform{};
    GLuint StreamBuffer = 0;    ///< immediate-mode vertices
    GLuint QuadIndexBuffer = 0; ///< 0 1 2 0 2 3, 4 5 6 4 6 7, ... for kQuadsPerDraw quads

    bool Texture2D = false, Lighting = false, Light0 = false, AlphaTest = false;
    GLenum AlphaFunction = GL_ALWAYS;
    float AlphaReference = 0.0f;
    float ClearColor[4] = {0, 0, 0, 0};
    GLint UnpackAlignment = 4;

    GLenum MatrixMode = GL_MODELVIEW;
    std::vector<TMatrix4> Modelview{IdentityMatrix()}, Projection{IdentityMatrix()},
        TextureMatrix{IdentityMatrix()};
    TLighting Light;

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

} // namespace lumidor::web
