#pragma once

#include <string>
#include <vector>

namespace lumidor {

/// Resolves a GL entry point by name in the current context (SDL_GL_GetProcAddress in the demo).
using TGLProcResolver = void* (*)(const char* name);

/// Fills `GL` from the current context: core and ARB buffer-object entry points through `resolve`,
/// GLU from the linked library. Returns the names that could not be resolved (empty on success);
/// only on success does the engine start making GL calls (GLAvailable).
std::vector<std::string> LoadGLFunctions(TGLProcResolver resolve);

} // namespace lumidor
