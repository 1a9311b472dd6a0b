#include "app/desktop/main_window.h"

#include "app/core/caption.h"
#include "app/core/effect_pass.h"
#include "app/desktop/display_mode.h"
#include "app/desktop/gl_extensions.h"
#include "app/desktop/pixel_format.h"
#include "app/desktop/screenshot.h"
#include "app/desktop/ui_layer.h"
#include "effects/frame_time.h"
#include "engine/gl_api.h"
#include "engine/gl_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace lumidor {

namespace {

// SDL reads these when the window is created (the X11 visual is chosen then), so they are set first.
void SetPixelFormatAttributes(int bitsPerPixel) {
    const TColourBits colour = SplitColourBits(bitsPerPixel);
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, colour.Red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colour.Green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, colour.Blue);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, colour.Alpha);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
}

// A hidden window of the given size and its rendering context with `bits` colour bits; false with the
// reason in `error` when either cannot be made.
bool MakeWindowWithContext(int bits, int width, int height, SDL_Window*& sdlWindow, SDL_GLContext& context,
                           std::string& error) {
    SetPixelFormatAttributes(bits);
    sdlWindow = SDL_CreateWindow(kInitialCaption, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                 height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
    if (!sdlWindow) {
        error = SDL_GetError();
        return false;
    }
    context = SDL_GL_CreateContext(sdlWindow);
    if (!context) {
        error = SDL_GetError();
        SDL_DestroyWindow(sdlWindow);
        sdlWindow = nullptr;
        return false;
    }
    return true;
}

void* ResolveGLProc(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

void CreateMainWindow(TMainWindow& window, int bitsPerPixel) {
    std::string lastError = "unknown reason";
    for (const int bits : ColourBitCandidates(bitsPerPixel)) {
        SDL_Window* sdlWindow = nullptr;
        SDL_GLContext context = nullptr;
        if (!MakeWindowWithContext(bits, kInitialWindowWidth, kInitialWindowHeight, sdlWindow, context,
                                   lastError))
            continue;
        if (bits != bitsPerPixel) {
            std::fprintf(stderr, "No OpenGL pixel format with %d colour bits; using %s.\n", bitsPerPixel,
                         bits > 0 ? (std::to_string(bits) + " colour bits").c_str()
                                  : "the closest one offered");
        }
        window.Window = sdlWindow;
        window.RenderContext = context;
        window.ColourBits = bits;
        return;
    }
    throw std::runtime_error("Could not create the main window with an OpenGL rendering context: " +
                             lastError);
}

void FitOffscreenSurface(TMainWindow& window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") != 0) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(window.Window, &width, &height);
    if (width == kInitialWindowWidth && height == kInitialWindowHeight) return;
    SDL_Window* sdlWindow = nullptr;
    SDL_GLContext context = nullptr;
    std::string error;
    if (!MakeWindowWithContext(window.ColourBits, width, height, sdlWindow, context, error))
        throw std::runtime_error("Could not create the off-screen window at its configured size: " + error);
    SDL_GL_DeleteContext(window.RenderContext);
    SDL_DestroyWindow(window.Window);
    window.Window = sdlWindow;
    window.RenderContext = context;
}

void ActivateRenderContext(TMainWindow& window) {
    FitOffscreenSurface(window);
    if (SDL_GL_MakeCurrent(window.Window, window.RenderContext) != 0)
        throw std::runtime_error(std::string("Could not make the OpenGL rendering context current: ") +
                                 SDL_GetError());
    SDL_GL_SetSwapInterval(0); // no frame cap: the swap is the only pacing
    const std::vector<std::string> missing = LoadGLFunctions(&ResolveGLProc);
    if (!missing.empty())
        throw std::runtime_error("The OpenGL driver lacks functions the engine needs: " + JoinNames(missing));
    const auto* extensions = reinterpret_cast<const char*>(GL.GetString(GL_EXTENSIONS));
    if (!HasGLExtension(extensions, "GL_ARB_vertex_buffer_object"))
        throw std::runtime_error("The OpenGL driver does not offer GL_ARB_vertex_buffer_object, which the "
                                 "particle engine needs to draw.");
    window.GLReady = true;
}

void EnableDefaultState() {
    GL.Enable(GL_DEPTH_TEST);
    GL.Enable(GL_TEXTURE_2D);
}

void ShowMainWindow(TMainWindow& window) {
    SDL_ShowWindow(window.Window);
    FitOuterSize(window);
    if (!window.GLReady) return;
    // The clear colour is left as it is: the first frame's clear still uses the one GL starts with.
    GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(window.Window);
}

TFrameView MakeFrameView(int drawableWidth, int drawableHeight, int borderLeft, int borderRight) {
    // A minimised window has a 0 x 0 drawable; frames go on with a 1 x 1 view, so that the aspect
    // ratio and the banner's projection box stay defined (glOrtho refuses an empty box).
    TFrameView view;
    view.ClientWidth = std::max(drawableWidth, 1);
    view.ClientHeight = std::max(drawableHeight, 1);
    view.OuterWidth = view.ClientWidth + borderLeft + borderRight;
    return view;
}

TFrameView QueryFrameView(const TMainWindow& window) {
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window.Window, &width, &height);
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window.Window, &top, &left, &bottom, &right) != 0) left = right = 0;
    return MakeFrameView(width, height, left, right);
}

bool DrawFrame(TMainWindow& window, const TAppHooks& hooks, const TFrameRequest& request) {
    const Uint64 frameStart = SDL_GetPerformanceCounter();
    Tick(window.FrameClock);
    float effectTime = window.FrameClock.Elapsed;
    if (window.EffectClockRestarted) {
        Tick(window.EffectClock);
        effectTime = window.EffectClock.Elapsed;
        window.EffectClockRestarted = false;
    }
    FrameTime = request.FixedFrameTime ? *request.FixedFrameTime : effectTime;
    // Two readings in the same tick give an infinite rate; floating-point exceptions are masked.
    window.FramesPerSecond = 1.0f / window.FrameClock.Elapsed;
    if (!window.GLReady) return request.ScreenshotFile.empty();

    const TFrameView view = QueryFrameView(window);
    BeginDemoFrame(view);

    if (hooks.EffectPass) hooks.EffectPass(view);
    if (window.UiReady) {
        BeginUiFrame(window.Pointer);
        if (hooks.Ui) hooks.Ui(view);
        EndUiFrame();
    }
    if (hooks.TakeCloseRequest && hooks.TakeCloseRequest()) {
        SDL_Event quit{}; // seen by the next event poll, as the window's close box would be
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }

    bool screenshotWritten = true;
    if (!request.ScreenshotFile.empty() || !request.RecordFile.empty()) {
        const TRgbImage picture = ReadBackBufferImage(view.ClientWidth, view.ClientHeight);
        for (const std::string& file : {request.ScreenshotFile, request.RecordFile}) {
            std::string error;
            if (file.empty() || WritePng(file, picture, error)) continue;
            std::fprintf(stderr, "Could not write the screenshot %s: %s\n", file.c_str(), error.c_str());
            screenshotWritten = false;
        }
    }
    SDL_GL_SwapWindow(window.Window);
    // Timeline work (a seek, a prewarm, a reload) is not the effect's time: the next frame's effect time
    // starts here (the frame rate still measures the whole frame).
    if (hooks.TakeClockRestart && hooks.TakeClockRestart()) {
        Start(window.EffectClock);
        window.EffectClockRestarted = true;
    }
    if (hooks.FrameDone)
        hooks.FrameDone(1000.0 * double(SDL_GetPerformanceCounter() - frameStart) /
                        double(SDL_GetPerformanceFrequency()));
    return screenshotWritten;
}

bool PumpUnattendedEvents(TMainWindow& window) {
    SDL_Event event;
    bool open = true;
    while (SDL_PollEvent(&event)) {
        FeedPointerEvent(window.Pointer, event);
        if (window.UiReady) ProcessUiEvent(event);
        if (event.type == SDL_QUIT ||
            (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE))
            open = false;
    }
    return open;
}

void CloseMainWindow(TMainWindow& window) {
    if (window.Window) SDL_GL_MakeCurrent(window.Window, nullptr);
    RestoreDisplayMode(window);
    if (window.RenderContext) SDL_GL_DeleteContext(window.RenderContext);
    if (window.Window) SDL_DestroyWindow(window.Window);
    window = TMainWindow{};
}

} // namespace lumidor
