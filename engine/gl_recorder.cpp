#include "gl_recorder.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace lumidor {

namespace {

TGLRecorder recorder;

template <typename T> double AsNumber(T value) {
    if constexpr (std::is_pointer_v<T>)
        return 0.0;
    else
        return double(value);
}

void Record(const char* name, std::vector<double> args) {
    if (recorder.Recording) recorder.Calls.push_back(TGLCall{name, std::move(args)});
}

// A zero of any return type; a template, so that clang discards the return for void too.
template <typename T> T ZeroValue() {
    if constexpr (!std::is_void_v<T>) return T{};
}

// Generic stubs: record and return a zero value.
#define LUMIDOR_GL_STUB(ret, name, params, args)                                                             \
    ret Stub##name params {                                                                                  \
        [](auto... values) { Record(#name, {AsNumber(values)...}); } args;                                   \
        return ZeroValue<ret>();                                                                             \
    }
LUMIDOR_GL_ALL_FUNCTIONS(LUMIDOR_GL_STUB)
#undef LUMIDOR_GL_STUB

void FakeGenBuffers(GLsizei n, GLuint* buffers) {
    Record("GenBuffersARB", {double(n)});
    for (GLsizei i = 0; i < n; ++i) {
        buffers[i] = recorder.NextBufferName++;
        recorder.Buffers[buffers[i]];
    }
}

void FakeDeleteBuffers(GLsizei n, const GLuint* buffers) {
    Record("DeleteBuffersARB", {double(n), n > 0 ? double(buffers[0]) : 0.0});
    for (GLsizei i = 0; i < n; ++i) {
        recorder.Buffers.erase(buffers[i]);
        if (recorder.BoundArrayBuffer == buffers[i]) recorder.BoundArrayBuffer = 0;
    }
}

void FakeBindBuffer(GLenum target, GLuint buffer) {
    Record("BindBufferARB", {double(target), double(buffer)});
    recorder.BoundArrayBuffer = buffer;
}

void FakeBufferData(GLenum target, GLsizeiptrARB size, const void* data, GLenum usage) {
    Record("BufferDataARB", {double(target), double(size), 0.0, double(usage)});
    auto found = recorder.Buffers.find(recorder.BoundArrayBuffer);
    if (found == recorder.Buffers.end() || size < 0) return;
    found->second.assign(std::size_t(size), 0);
    if (data) std::memcpy(found->second.data(), data, std::size_t(size));
}

void* FakeMapBuffer(GLenum target, GLenum access) {
    Record("MapBufferARB", {double(target), double(access)});
    auto found = recorder.Buffers.find(recorder.BoundArrayBuffer);
    if (found == recorder.Buffers.end() || found->second.empty()) return nullptr;
    return found->second.data();
}

GLboolean FakeUnmapBuffer(GLenum target) {
    Record("UnmapBufferARB", {double(target)});
    auto found = recorder.Buffers.find(recorder.BoundArrayBuffer);
    if (found == recorder.Buffers.end()) return GL_FALSE;
    if (recorder.Recording) recorder.LastMappedCopy = found->second;
    return GL_TRUE;
}

void FakeGenTextures(GLsizei n, GLuint* textures) {
    Record("GenTextures", {double(n)});
    for (GLsizei i = 0; i < n; ++i)
        textures[i] = recorder.NextTextureName++;
}

GLuint FakeGenLists(GLsizei range) {
    Record("GenLists", {double(range)});
    const GLuint first = recorder.NextListName;
    recorder.NextListName += GLuint(std::max(range, 0));
    return first;
}

void FakeGetFloatv(GLenum pname, GLfloat* params) {
    Record("GetFloatv", {double(pname)});
    if (pname == GL_MODELVIEW_MATRIX)
        std::memcpy(params, recorder.Modelview, sizeof recorder.Modelview);
    else
        params[0] = 0.0f;
}

GLint FakeBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format,
                         GLenum type, const void* data) {
    Record("gluBuild2DMipmaps", {double(target), double(internalFormat), double(width), double(height),
                                 double(format), double(type)});
    const std::size_t channels = format == GL_RGBA ? 4 : 3;
    const std::size_t bytes = std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)) * channels;
    const auto* pixels = static_cast<const std::uint8_t*>(data);
    recorder.Uploads.push_back(
        {internalFormat, width, height, format,
         pixels ? std::vector<std::uint8_t>(pixels, pixels + bytes) : std::vector<std::uint8_t>{}});
    return 0;
}

} // namespace

TGLRecorder& InstallGLRecorder() {
    recorder = TGLRecorder{};
#define LUMIDOR_GL_INSTALL(ret, name, params, args) GL.name = &Stub##name;
    LUMIDOR_GL_ALL_FUNCTIONS(LUMIDOR_GL_INSTALL)
#undef LUMIDOR_GL_INSTALL
    GL.GenBuffersARB = &FakeGenBuffers;
    GL.DeleteBuffersARB = &FakeDeleteBuffers;
    GL.BindBufferARB = &FakeBindBuffer;
    GL.BufferDataARB = &FakeBufferData;
    GL.MapBufferARB = &FakeMapBuffer;
    GL.UnmapBufferARB = &FakeUnmapBuffer;
    GL.GenTextures = &FakeGenTextures;
    GL.GenLists = &FakeGenLists;
    GL.GetFloatv = &FakeGetFloatv;
    GL.gluBuild2DMipmaps = &FakeBuild2DMipmaps;
    GL.Ready = true; // the fake counts as GL set up: tests see every call the demo would make
    return recorder;
}

TGLRecorder& GLRecorder() {
    return recorder;
}

int CountGLCalls(const std::string& name) {
    return int(std::count_if(recorder.Calls.begin(), recorder.Calls.end(),
                             [&](const TGLCall& call) { return call.Name == name; }));
}

std::vector<std::string> RecordedGLCallNames() {
    std::vector<std::string> names;
    names.reserve(recorder.Calls.size());
    for (const TGLCall& call : recorder.Calls)
        names.push_back(call.Name);
    return names;
}

} // namespace lumidor
