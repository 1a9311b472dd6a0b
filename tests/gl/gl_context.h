#pragma once
// A real OpenGL context for the GL suites: a hidden SDL window with a compatibility context whose
// entry points fill the GL table. Run under Xvfb with Mesa (LIBGL_ALWAYS_SOFTWARE=1).

#include "engine/gl_api.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor::testing {

/// Creates the window and context once per process (width x height client area) and makes it
/// current; returns false (with the reason on stderr) when no display or GL is available.
bool EnsureGLContext(int width = 256, int height = 256);
/// RGBA bytes of the back buffer after glFinish, bottom row first.
std::vector<std::uint8_t> ReadBackBuffer(int width, int height);
/// Writes RGBA pixels (bottom row first, as ReadBackBuffer gives them) to $LUMIDOR_TEST_PICTURES/
/// <name>.png when that variable names a folder, for looking at by eye; does nothing otherwise.
void KeepPicture(const std::vector<std::uint8_t>& rgba, int width, int height, const std::string& name);
/// Sets an identity projection and modelview and a viewport of the given size.
void ResetMatrices(int width, int height);

} // namespace lumidor::testing
