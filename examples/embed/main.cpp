// Lumidor in a program's own SDL2 + OpenGL loop: its window, camera and frame timing; one script
// from the demo data beside one particle system set up in code.
//
// Usage: lumidor-embed [FRAMES]   (0 or nothing: run until the window is closed or Esc is pressed)

#include <lumidor/lumidor.h>

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace lumidor;

namespace {

// A soft round spot (white, alpha falling off from the centre) as the sparks' texture.
GLuint MakeSpotTexture() {
    constexpr int side = 32;
    std::vector<std::uint8_t> pixels(side * side * 4, 255);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const float dx = (float(x) + 0.5f) / side - 0.5f, dy = (float(y) + 0.5f) / side - 0.5f;
            const float a = std::fmax(0.0f, 1.0f - 2.0f * std::sqrt(dx * dx + dy * dy));
            pixels[std::size_t(y * side + x) * 4 + 3] = std::uint8_t(255 * a * a);
        }
    return MakeMipmappedTexture(side, side, GL_RGBA, pixels.data());
}

// Keeps `sparks` at 2,000 particles shooting up from `origin` in a warm fan.
void TopUpSparks(TParticleEffectContainer& sparks, const TVector3& origin) {
    for (std::int32_t i = ParticleCount(sparks); i < 2000; ++i) {
        AddParticle(sparks, origin, {0.08f, 0.08f, 0.0f}, {1.0f, 0.5f + 0.4f * R(), 0.1f}, 0, 1.0f + R());
        SetParticleForce(sparks, {0.0f, -3.0f, 0.0f}, i);
        SetParticleVelocity(sparks, {(R() - 0.5f) * 2.0f, 2.5f + R() * 1.5f, (R() - 0.5f) * 2.0f}, i);
        SetParticleBeginFadeOut(sparks, i, 0.5f);
    }
}

} // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window = SDL_CreateWindow("Lumidor embedded", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "No OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    // From here on the engine draws: the GL table is filled from the current context.
    if (!LoadGLFunctions(&SDL_GL_GetProcAddress).empty()) {
        std::fprintf(stderr, "The OpenGL driver lacks functions Lumidor needs.\n");
        return 1;
    }
    GL.Enable(GL_DEPTH_TEST);
    GL.Enable(GL_TEXTURE_2D);

    // The script reads its texture relative to the working directory: the demo data folder.
    std::filesystem::current_path(LUMIDOR_DATA_DIR);
    TParticleScript script;
    LoadScript(script, "scripts/ParticleScript1.psc");

    TParticleEffectContainer sparks;
    SetTextureProperties(sparks, MakeSpotTexture(), 1, 1);
    SetBlendFactor(sparks, GL_SRC_ALPHA, GL_ONE);

    Uint64 last = SDL_GetPerformanceCounter();
    float time = 0.0f;
    for (long frame = 0; frames == 0 || frame < frames; ++frame) {
        SDL_Event event;
        bool quit = false;
        while (SDL_PollEvent(&event))
            quit |=
                event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
        if (quit) break;
        const Uint64 now = SDL_GetPerformanceCounter();
        const float dt = float(double(now - last) / double(SDL_GetPerformanceFrequency()));
        last = now;
        time += dt;

        // Camera: 8 units back, circling the scene slowly.
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window, &width, &height);
        GL.Viewport(0, 0, width, height);
        GL.MatrixMode(GL_PROJECTION);
        GL.LoadIdentity();
        GL.gluPerspective(45.0, double(width) / double(height > 0 ? height : 1), 0.1, 100.0);
        GL.MatrixMode(GL_MODELVIEW);
        GL.LoadIdentity();
        GL.Translatef(0.0f, -0.5f, -8.0f);
        GL.Rotatef(20.0f * std::sin(0.3f * time), 0.0f, 1.0f, 0.0f);
        GL.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        // Particles are blended: no depth writes while they are drawn.
        GL.DepthMask(GL_FALSE);
        AdvanceScript(script, {-1.5f, 0.0f, 0.0f}, dt);
        TopUpSparks(sparks, {1.5f, -1.0f, 0.0f});
        UpdateAndDraw(sparks, dt);
        GL.DepthMask(GL_TRUE);
        SDL_GL_SwapWindow(window);
    }

    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
