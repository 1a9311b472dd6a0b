// Lumidor in a program's own SDL2 + OpenGL loop: its window, camera and frame timing; one script
// from the demo data beside one particle system set up in code.
//
// Usage: lumidor-embed [--help] [--data DIR] [FRAMES]
//   FRAMES: 0 or nothing runs until the window is closed or Esc is pressed; DIR: the demo data
//   folder the script and its texture are read from (default: the one installed with Lumidor).

#include <lumidor/lumidor.h>

#include <SDL.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
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

constexpr const char* Usage =
    "usage: lumidor-embed [--help] [--data DIR] [FRAMES]\n"
    "  Draws a particle script of the demo data beside sparks set up in code, in an SDL2 window.\n"
    "  FRAMES      stop after this many frames (default 0: until the window is closed or Esc)\n"
    "  --data DIR  the demo data folder (default: " LUMIDOR_DATA_DIR ")\n"
    "exit status: 0 done, 1 no OpenGL window, 2 bad arguments\n";

struct TOptions {
    long Frames = 0;
    std::string DataDir = LUMIDOR_DATA_DIR;
};

/// 0 to go on, otherwise the exit status (-1 after --help).
int ParseArguments(int argc, char** argv, TOptions& options) {
    bool counted = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(Usage, stdout);
            return -1;
        }
        if (argument == "--data") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "lumidor-embed: --data needs a folder\n%s", Usage);
                return 2;
            }
            options.DataDir = argv[++i];
            continue;
        }
        if (argument.starts_with('-')) {
            std::fprintf(stderr, "lumidor-embed: unknown option %s\n%s", argument.c_str(), Usage);
            return 2;
        }
        char* end = nullptr;
        errno = 0;
        options.Frames = std::strtol(argument.c_str(), &end, 10);
        if (counted || end == argument.c_str() || *end != '\0' || errno != 0 || options.Frames < 0) {
            std::fprintf(stderr, "lumidor-embed: FRAMES must be one whole number from 0 (got %s)\n%s",
                         argument.c_str(), Usage);
            return 2;
        }
        counted = true;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions options;
    if (const int status = ParseArguments(argc, argv, options); status != 0) return status < 0 ? 0 : status;
    const long frames = options.Frames;
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

    // The script names its texture relative to the demo data folder: that folder is the texture root.
    const std::string scriptName = "scripts/ParticleScript1.psc";
    TParticleScript script;
    const TScriptLoadReport report =
        LoadScriptWithReport(script, scriptName, options.DataDir + "/" + scriptName, options.DataDir);
    // A script with errors still runs what it could read; say what went wrong, where.
    std::fputs(FormatGccDiagnostics(options.DataDir + "/" + scriptName, report).c_str(), stderr);

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
