// Buffer objects with CPU copies, client arrays as glInterleavedArrays sets them, and glDrawArrays
// on them. The project always draws arrays from a buffer object.

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_buffers.h"

#include "web/webgl_program.h"

#include <algorithm>
#include <cstring>

namespace lumidor::web::webgl {

namespace {

TBufferCopy* BoundCopy(TRendererState& state) {
    const auto found = state.Buffers.find(state.BoundArrayBuffer);
    return found == state.Buffers.end() ? nullptr : &found->second;
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

void SetArrayAttributes(TRendererState& state, std::uintptr_t offset) {
    SetAttribute(APosition, state.VertexArray, offset, nullptr, 0);
    SetAttribute(AColor, state.ColorArray, offset, state.CurrentColor, 4);
    SetAttribute(ATexCoord, state.TexCoordArray, offset, state.CurrentTexCoord, 2);
    SetAttribute(ANormal, state.NormalArray, offset, state.CurrentNormal, 3);
}

// Sends the part of the bound buffer's copy that vertices first .. first + count - 1 read.
void UploadForDraw(TRendererState& state, GLint first, GLsizei count) {
    TBufferCopy* copy = BoundCopy(state);
    if (!copy) return;
    std::size_t needed = 0;
    for (const TArray* array :
         {&state.VertexArray, &state.ColorArray, &state.TexCoordArray, &state.NormalArray}) {
        if (!array->Enabled) continue;
        needed = std::max(needed, std::size_t(array->Pointer) +
                                      (std::size_t(first) + std::size_t(count)) * std::size_t(array->Stride));
    }
    needed = std::min(needed, copy->Bytes.size());
    if (needed <= copy->Uploaded) return;
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(copy->Uploaded), GLsizeiptr(needed - copy->Uploaded),
                    copy->Bytes.data() + copy->Uploaded);
    copy->Uploaded = needed;
}

void DrawQuadsAsTriangles(TRendererState& state, GLint first, GLsizei count, GLsizei stride) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.QuadIndexBuffer);
    const GLsizei quads = count / 4;
    for (GLsizei done = 0; done < quads; done += kQuadsPerDraw) {
        const GLsizei batch = std::min(kQuadsPerDraw, quads - done);
        SetArrayAttributes(state, std::uintptr_t(first + done * 4) * std::uintptr_t(stride));
        glDrawElements(GL_TRIANGLES, batch * 6, GL_UNSIGNED_SHORT, nullptr);
    }
}

} // namespace

void GenBuffersARB(TRendererState& state, GLsizei n, GLuint* buffers) {
    glGenBuffers(n, buffers);
    for (GLsizei i = 0; i < n; ++i)
        state.Buffers[buffers[i]];
}

void DeleteBuffersARB(TRendererState& state, GLsizei n, const GLuint* buffers) {
    for (GLsizei i = 0; i < n; ++i) {
        state.Buffers.erase(buffers[i]);
        if (state.BoundArrayBuffer == buffers[i]) state.BoundArrayBuffer = 0;
    }
    glDeleteBuffers(n, buffers);
}

void BindBufferARB(TRendererState& state, GLenum target, GLuint buffer) {
    if (target == GL_ARRAY_BUFFER) state.BoundArrayBuffer = buffer;
    glBindBuffer(target, buffer);
}

void BufferDataARB(TRendererState& state, GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
    glBufferData(target, size, data, usage);
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy(state) : nullptr;
    if (!copy || size < 0) return;
    copy->Bytes.resize(std::size_t(size));
    if (data) std::memcpy(copy->Bytes.data(), data, std::size_t(size));
    copy->Uploaded = data ? std::size_t(size) : 0;
}

void* MapBufferARB(TRendererState& state, GLenum target, GLenum) {
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy(state) : nullptr;
    if (!copy || copy->Mapped || copy->Bytes.empty()) return nullptr;
    copy->Mapped = true;
    return copy->Bytes.data();
}

GLboolean UnmapBufferARB(TRendererState& state, GLenum target) {
    TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy(state) : nullptr;
    if (!copy || !copy->Mapped) return GL_FALSE;
    copy->Mapped = false;
    copy->Uploaded = 0; // written through the pointer: sent again as far as a draw reads it
    return GL_TRUE;
}

void GetBufferParameterivARB(TRendererState& state, GLenum target, GLenum pname, GLint* params) {
    const TBufferCopy* copy = target == GL_ARRAY_BUFFER ? BoundCopy(state) : nullptr;
    *params = 0;
    if (!copy) return;
    if (pname == GL_BUFFER_SIZE) *params = GLint(copy->Bytes.size());
    if (pname == GL_BUFFER_MAPPED) *params = copy->Mapped ? GL_TRUE : GL_FALSE;
}

void EnableClientState(TRendererState& state, GLenum array) {
    if (array == GL_VERTEX_ARRAY) state.VertexArray.Enabled = true;
    if (array == GL_COLOR_ARRAY) state.ColorArray.Enabled = true;
    if (array == GL_TEXTURE_COORD_ARRAY) state.TexCoordArray.Enabled = true;
    if (array == GL_NORMAL_ARRAY) state.NormalArray.Enabled = true;
}

void DisableClientState(TRendererState& state, GLenum array) {
    if (array == GL_VERTEX_ARRAY) state.VertexArray.Enabled = false;
    if (array == GL_COLOR_ARRAY) state.ColorArray.Enabled = false;
    if (array == GL_TEXTURE_COORD_ARRAY) state.TexCoordArray.Enabled = false;
    if (array == GL_NORMAL_ARRAY) state.NormalArray.Enabled = false;
}

// The formats the project may use; each sets its arrays and switches the others off, as GL does.
void InterleavedArrays(TRendererState& state, GLenum format, GLsizei stride, const void* pointer) {
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
    state.TexCoordArray = {hasTexCoord, 2, GL_FLOAT, stride, base + texCoord, false};
    state.ColorArray = {hasColor, 4, GL_UNSIGNED_BYTE, stride, base + color, true};
    state.VertexArray = {true, 3, GL_FLOAT, stride, base + vertex, false};
    state.NormalArray.Enabled = false;
}

void DrawArrays(TRendererState& state, GLenum mode, GLint first, GLsizei count) {
    if (!state.VertexArray.Enabled || count <= 0 || first < 0) return;
    if (state.BoundArrayBuffer == 0) return; // the project always draws arrays from a buffer object
    PrepareDraw(state);
    glBindBuffer(GL_ARRAY_BUFFER, state.BoundArrayBuffer);
    UploadForDraw(state, first, count);
    if (mode == GL_QUADS) {
        DrawQuadsAsTriangles(state, first, count, state.VertexArray.Stride);
    } else {
        SetArrayAttributes(state, 0);
        glDrawArrays(mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode, first, count);
    }
}

} // namespace lumidor::web::webgl
