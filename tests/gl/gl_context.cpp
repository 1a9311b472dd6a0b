#include "gl_context.h"

#include "engine/gl_loader.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace lumidor::testing {

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
} // namespace

bool EnsureGLContext(int width, int height) {
    if (context) {
        SDL_SetWindowSize(window, width, height);
        return true;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init failed: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    window = SDL_CreateWindow("lumidor gl test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                              height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        std::fprintf(stderr, "SDL_CreateWindow failed: %s\n", SDL_GetError());
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "SDL_GL_CreateContext failed: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    const std::vector<std::string> missing =
        LoadGLFunctions([](const char* name) { return SDL_GL_GetProcAddress(name); });
    for (const std::string& name : missing)
        std::fprintf(stderr, "missing GL entry point %s\n", name.c_str());
    return missing.empty();
}

std::vector<std::uint8_t> ReadBackBuffer(int width, int height) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
    GL.Finish();
    GL.PixelStorei(GL_PACK_ALIGNMENT, 1);
    GL.ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void KeepPicture(const std::vector<std::uint8_t>& rgba, int width, int height, const std::string& name) {
    const char* folder = std::getenv("LUMIDOR_TEST_PICTURES");
    if (!folder || !*folder) return;
    // Top row first and opaque, as picture viewers expect.
    std::vector<std::uint8_t> picture(rgba.size());
    const std::size_t row = std::size_t(width) * 4;
    for (int y = 0; y < height; ++y)
        std::copy_n(rgba.begin() + std::ptrdiff_t(std::size_t(height - 1 - y) * row), row,
                    picture.begin() + std::ptrdiff_t(std::size_t(y) * row));
    for (std::size_t i = 3; i < picture.size(); i += 4)
        picture[i] = 255;
    const std::string file = std::string(folder) + "/" + name + ".png";
    stbi_write_png(file.c_str(), width, height, 4, picture.data(), int(row));
}

void ResetMatrices(int width, int height) {
    GL.Viewport(0, 0, width, height);
    GL.MatrixMode(GL_PROJECTION);
    GL.LoadIdentity();
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();
}

} // namespace lumidor::testing
