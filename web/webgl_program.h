#pragma once
// The WebGL renderer's one shader pair, which draws what fixed-function GL would from the state
// the other parts keep: texture times vertex colour, the alpha test, one light per vertex.

#include "web/webgl_state.h"

#include <string>

namespace lumidor::web {

/// Compiles and links the shader pair into state.Program and finds its uniforms. Returns an empty
/// string, or the compiler's or linker's complaint.
std::string BuildProgram(TRendererState& state);

/// Sets the program and every uniform from the state before a draw: other code (the UI backend)
/// draws with its own program and state between the renderer's draws.
void PrepareDraw(TRendererState& state);

} // namespace lumidor::web
