// glBegin .. glEnd and display lists on WebGL: what GL would draw from the vertices given one at a
// time, turned into vertex buffers WebGL draws.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_immediate.h"

#include "web/webgl_program.h"

#include <cstddef>
#include <cstring>

namespace lumidor::web::webgl {

namespace {

static_assert(TPrimitive(GL_POINTS) == TPrimitive::Points &&
                  TPrimitive(GL_LINE_LOOP) == TPrimitive::LineLoop &&
                  TPrimitive(GL_TRIANGLE_FAN) == TPrimitive::TriangleFan &&
                  TPrimitive(GL_QUADS) == TPrimitive::Quads &&
                  TPrimitive(GL_QUAD_STRIP) == TPrimitive::QuadStrip &&
                  TPrimitive(GL_POLYGON) == TPrimitive::Polygon,
              "TPrimitive converts to and from GL's modes by a cast");

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

void DrawStreamed(TRendererState& state, TPrimitive mode, const std::vector<TVertex>& vertices) {
    if (vertices.empty()) return;
    PrepareDraw(state);
    glBindBuffer(GL_ARRAY_BUFFER, state.StreamBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TVertex)), vertices.data(),
                 GL_STREAM_DRAW);
    SetVertexLayout();
    glDrawArrays(GLenum(mode), 0, GLsizei(vertices.size()));
    glBindBuffer(GL_ARRAY_BUFFER, state.BoundArrayBuffer);
}

} // namespace

void Begin(TRendererState& state, GLenum mode) {
    state.InBegin = true;
    state.BeginMode = mode;
    state.Immediate.clear();
}

void End(TRendererState& state) {
    if (!state.InBegin) return;
    state.InBegin = false;
    if (state.CompilingList != 0) {
        TDisplayList& list = state.Lists[state.CompilingList];
        const GLint first = GLint(list.Recording.size());
        const TPrimitive mode = ExpandPrimitive(TPrimitive(state.BeginMode), state.Immediate, list.Recording);
        list.Primitives.push_back({GLenum(mode), first, GLsizei(GLint(list.Recording.size()) - first)});
        if (!state.ExecuteWhileCompiling) return;
    }
    std::vector<TVertex> expanded;
    TPrimitive mode = ExpandPrimitive(TPrimitive(state.BeginMode), state.Immediate, expanded);
    mode = ClipToNearPlane(mode, expanded, MultiplyMatrices(state.Projection.back(), state.Modelview.back()));
    DrawStreamed(state, mode, expanded);
}

void Vertex3f(TRendererState& state, GLfloat x, GLfloat y, GLfloat z) {
    if (!state.InBegin) return;
    TVertex v{};
    v.Position[0] = x;
    v.Position[1] = y;
    v.Position[2] = z;
    std::memcpy(v.Color, state.CurrentColor, sizeof v.Color);
    std::memcpy(v.TexCoord, state.CurrentTexCoord, sizeof v.TexCoord);
    std::memcpy(v.Normal, state.CurrentNormal, sizeof v.Normal);
    state.Immediate.push_back(v);
}

void Vertex2f(TRendererState& state, GLfloat x, GLfloat y) {
    Vertex3f(state, x, y, 0.0f);
}

void Color4f(TRendererState& state, GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    state.CurrentColor[0] = red;
    state.CurrentColor[1] = green;
    state.CurrentColor[2] = blue;
    state.CurrentColor[3] = alpha;
}

void Color3f(TRendererState& state, GLfloat red, GLfloat green, GLfloat blue) {
    Color4f(state, red, green, blue, 1.0f);
}

void TexCoord2f(TRendererState& state, GLfloat s, GLfloat t) {
    state.CurrentTexCoord[0] = s;
    state.CurrentTexCoord[1] = t;
}

void Normal3f(TRendererState& state, GLfloat nx, GLfloat ny, GLfloat nz) {
    state.CurrentNormal[0] = nx;
    state.CurrentNormal[1] = ny;
    state.CurrentNormal[2] = nz;
}

GLuint GenLists(TRendererState& state, GLsizei range) {
    if (range <= 0) return 0;
    const GLuint first = state.NextList;
    state.NextList += GLuint(range);
    return first;
}

void NewList(TRendererState& state, GLuint list, GLenum mode) {
    if (list == 0 || state.CompilingList != 0) return;
    state.CompilingList = list;
    state.ExecuteWhileCompiling = mode == GL_COMPILE_AND_EXECUTE;
    TDisplayList& recorded = state.Lists[list];
    recorded.Primitives.clear();
    recorded.Recording.clear();
}

void EndList(TRendererState& state) {
    if (state.CompilingList == 0) return;
    TDisplayList& list = state.Lists[state.CompilingList];
    state.CompilingList = 0;
    if (list.Buffer == 0) glGenBuffers(1, &list.Buffer);
    glBindBuffer(GL_ARRAY_BUFFER, list.Buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(list.Recording.size() * sizeof(TVertex)), list.Recording.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, state.BoundArrayBuffer);
    list.Recording.clear();
    list.Recording.shrink_to_fit();
}

void CallList(TRendererState& state, GLuint list) {
    const auto found = state.Lists.find(list);
    if (found == state.Lists.end() || found->second.Buffer == 0 || found->second.Primitives.empty()) return;
    PrepareDraw(state);
    glBindBuffer(GL_ARRAY_BUFFER, found->second.Buffer);
    SetVertexLayout();
    for (const TListPrimitive& primitive : found->second.Primitives)
        glDrawArrays(primitive.Mode, primitive.First, primitive.Count);
    glBindBuffer(GL_ARRAY_BUFFER, state.BoundArrayBuffer);
}

} // namespace lumidor::web::webgl
