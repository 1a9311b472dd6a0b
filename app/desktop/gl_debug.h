#pragma once
// --gl-debug: glGetError after every frame, and a GL_KHR_debug callback when the context offers one.
// Every GL error and every debug message of high severity is printed to standard error as
// "GL error: ..." and counted; the program then ends with status 3.

#include "engine/gl_api.h"

#include <string>

namespace lumidor {

/// Exit status of a run in which --gl-debug saw an error.
inline constexpr int kGLErrorExitStatus = 3;
/// Messages printed before further ones are only counted (a broken frame repeats every frame).
inline constexpr int kGLDebugPrintLimit = 100;

/// Resolves an extension entry point in the current context (SDL_GL_GetProcAddress in the demo).
using TGLDebugResolver = void* (*)(const char* name);

/// Needs a current context and the filled GL table. Installs the GL_KHR_debug callback when the
/// extension is offered (returns true then) and clears errors raised before. Safe to call again.
bool StartGLDebug(TGLDebugResolver resolve);
/// Reads every pending glGetError; each is printed with `where` ("frame 12"). Returns how many.
int CheckGLErrors(const std::string& where);
/// Errors and high-severity messages seen since the program started.
int GLDebugErrorCount();
/// "GL_INVALID_ENUM (0x0500)"; unknown codes as "0x....".
std::string GLErrorName(GLenum code);
/// Counts and prints one problem as "GL error: <text>" (up to kGLDebugPrintLimit lines).
void ReportGLError(const std::string& text);

} // namespace lumidor
