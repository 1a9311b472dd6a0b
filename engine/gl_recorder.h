#pragma once
// A recording stand-in for OpenGL: installed into `GL`, it logs every call with its numeric
// arguments, hands out buffer, texture and list names, and backs mapped buffers with CPU memory,
// so containers, presets and scripts run and can be inspected without a context.

#include "gl_api.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lumidor {

/// One recorded call: the entry point's name without prefix ("BindBufferARB", "gluPerspective")
/// and its scalar arguments widened to double (pointers are recorded as 0).
struct TGLCall {
    std::string Name;
    std::vector<double> Args;
};

struct TGLRecorder {
    bool Recording = true;      ///< false: keep state, skip the call log (benchmarks)
    std::vector<TGLCall> Calls; ///< every call in order while Recording
    GLfloat Modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; ///< what GetFloatv reports
    std::map<GLuint, std::vector<std::uint8_t>> Buffers; ///< storage of every live buffer object
    GLuint BoundArrayBuffer = 0;
    GLuint NextBufferName = 1;
    GLuint NextTextureName = 1;
    GLuint NextListName = 1;
    std::vector<std::uint8_t> LastMappedCopy; ///< the bytes of the last buffer, copied at unmap
    struct TMipmapUpload {
        GLint InternalFormat, Width, Height;
        GLenum Format;
        std::vector<std::uint8_t> Pixels;
    };
    std::vector<TMipmapUpload> Uploads; ///< every gluBuild2DMipmaps with a copy of its pixels
};

/// Fills `GL` with the recording fake, resets and returns its state.
TGLRecorder& InstallGLRecorder();
/// The fake's state (valid after InstallGLRecorder).
TGLRecorder& GLRecorder();
/// Number of recorded calls with this name.
int CountGLCalls(const std::string& name);
/// Names of the recorded calls in order (handy for order assertions).
std::vector<std::string> RecordedGLCallNames();

} // namespace lumidor
