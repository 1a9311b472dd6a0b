#include "app/desktop/gl_debug.h"

#include "app/desktop/gl_extensions.h"

#include <cstdio>

namespace lumidor {

namespace {

int errorCount = 0;

// The most glGetError reads per check: a lost context can keep reporting forever.
constexpr int kMaxErrorsPerCheck = 32;

const char* SourceName(GLenum source) {
    switch (source) {
    case GL_DEBUG_SOURCE_API:
        return "API";
    case GL_DEBUG_SOURCE_WINDOW_SYSTEM:
        return "window system";
    case GL_DEBUG_SOURCE_SHADER_COMPILER:
        return "shader compiler";
    case GL_DEBUG_SOURCE_THIRD_PARTY:
        return "third party";
    case GL_DEBUG_SOURCE_APPLICATION:
        return "application";
    default:
        return "other";
    }
}

void GLAPIENTRY OnDebugMessage(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                               const GLchar* message, const void*) {
    if (type != GL_DEBUG_TYPE_ERROR && severity != GL_DEBUG_SEVERITY_HIGH) return;
    std::string text =
        std::string("debug message ") + std::to_string(id) + " from " + SourceName(source) + ": ";
    if (message)
        text.append(message, length >= 0 ? std::size_t(length) : std::char_traits<char>::length(message));
    ReportGLError(text);
}

} // namespace

std::string GLErrorName(GLenum code) {
    const char* name = nullptr;
    switch (code) {
    case GL_INVALID_ENUM:
        name = "GL_INVALID_ENUM";
        break;
    case GL_INVALID_VALUE:
        name = "GL_INVALID_VALUE";
        break;
    case GL_INVALID_OPERATION:
        name = "GL_INVALID_OPERATION";
        break;
    case GL_STACK_OVERFLOW:
        name = "GL_STACK_OVERFLOW";
        break;
    case GL_STACK_UNDERFLOW:
        name = "GL_STACK_UNDERFLOW";
        break;
    case GL_OUT_OF_MEMORY:
        name = "GL_OUT_OF_MEMORY";
        break;
    case GL_INVALID_FRAMEBUFFER_OPERATION:
        name = "GL_INVALID_FRAMEBUFFER_OPERATION";
        break;
    case GL_CONTEXT_LOST:
        name = "GL_CONTEXT_LOST";
        break;
    default:
        break;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", unsigned(code));
    return name ? std::string(name) + " (" + hex + ")" : std::string(hex);
}

void ReportGLError(const std::string& text) {
    ++errorCount;
    if (errorCount <= kGLDebugPrintLimit) {
        std::fprintf(stderr, "GL error: %s\n", text.c_str());
    } else if (errorCount == kGLDebugPrintLimit + 1) {
        std::fprintf(stderr, "GL error: more than %d errors; further ones are counted but not printed\n",
                     kGLDebugPrintLimit);
    }
    std::fflush(stderr);
}

int CheckGLErrors(const std::string& where) {
    if (!GL.GetError) return 0;
    int found = 0;
    for (GLenum code = GL.GetError(); code != GL_NO_ERROR && found < kMaxErrorsPerCheck;
         code = GL.GetError()) {
        ReportGLError(GLErrorName(code) + " after " + where);
        ++found;
    }
    return found;
}

int GLDebugErrorCount() {
    return errorCount;
}

bool StartGLDebug(TGLDebugResolver resolve) {
    // Errors of the start-up so far are reported, not lost.
    CheckGLErrors("start-up");
    if (!GL.GetString || !resolve) return false;
    const char* extensions = reinterpret_cast<const char*>(GL.GetString(GL_EXTENSIONS));
    if (!HasGLExtension(extensions, "GL_KHR_debug")) return false;
    const auto callback = reinterpret_cast<PFNGLDEBUGMESSAGECALLBACKPROC>(resolve("glDebugMessageCallback"));
    if (!callback) return false;
    callback(&OnDebugMessage, nullptr);
    // Outside a debug context the output is off until enabled; synchronous keeps it on this thread.
    GL.Enable(GL_DEBUG_OUTPUT);
    GL.Enable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    CheckGLErrors("installing the debug callback");
    return true;
}

} // namespace lumidor
