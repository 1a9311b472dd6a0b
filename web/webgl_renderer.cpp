// The renderer's entry point: one TRendererState, the shared buffers, and the GL table filled from
// the table's own list of entries (LUMIDOR_GL_ALL_FUNCTIONS), each entry forwarding to the function
// of the same name in lumidor::web::webgl with the state first. An entry without its function does
// not compile. The parts: webgl_program (shaders), webgl_capabilities (switches and queries),
// webgl_textures, webgl_buffers (buffer objects, client arrays, draws), webgl_immediate
// (glBegin/glEnd, display lists), webgl_transform (matrices, lighting).

#define GL_GLEXT_PROTOTYPES 1
#include "web/webgl_renderer.h"

#include "web/webgl_buffers.h"
#include "web/webgl_capabilities.h"
#include "web/webgl_immediate.h"
#include "web/webgl_program.h"
#include "web/webgl_state.h"
#include "web/webgl_textures.h"
#include "web/webgl_transform.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace lumidor::web {

namespace {

// The state the table's entries draw with: a GL function pointer carries no context of its own.
std::unique_ptr<TRendererState> installedRenderer;

} // namespace

std::string InstallWebGLRenderer() {
    installedRenderer = std::make_unique<TRendererState>();
    TRendererState& state = *installedRenderer;
    if (std::string error = BuildProgram(state); !error.empty())
        return "The WebGL renderer could not start: " + error;
    glGenBuffers(1, &state.StreamBuffer);
    glGenBuffers(1, &state.QuadIndexBuffer);
    std::vector<std::uint16_t> indices;
    indices.reserve(std::size_t(kQuadsPerDraw) * 6);
    for (std::uint32_t q = 0; q < std::uint32_t(kQuadsPerDraw); ++q)
        for (std::uint32_t k : {0u, 1u, 2u, 0u, 2u, 3u})
            indices.push_back(std::uint16_t(q * 4 + k));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, state.QuadIndexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint16_t)), indices.data(),
                 GL_STATIC_DRAW);

    GL = TGLFunctions{};
    // (a, b) -> (*installedRenderer, a, b); () -> (*installedRenderer)
#define LUMIDOR_WEB_WITH_STATE(...) (*installedRenderer __VA_OPT__(, ) __VA_ARGS__)
#define LUMIDOR_WEB_FILL(ret, name, params, args)                                                            \
    GL.name = [] params -> ret { return webgl::name LUMIDOR_WEB_WITH_STATE args; };
    LUMIDOR_GL_ALL_FUNCTIONS(LUMIDOR_WEB_FILL)
#undef LUMIDOR_WEB_FILL
#undef LUMIDOR_WEB_WITH_STATE
    GL.Ready = true;
    return {};
}

void MakeFrameOpaque(int width, int height) {
    glViewport(0, 0, width, height);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (const TRendererState* state = installedRenderer.get())
        glClearColor(state->ClearColor[0], state->ClearColor[1], state->ClearColor[2], state->ClearColor[3]);
    else
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f); // GL's initial clear colour
}

} // namespace lumidor::web
