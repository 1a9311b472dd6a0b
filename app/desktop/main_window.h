#pragma once
// The main window: an SDL window with a double-buffered OpenGL compatibility context, and the frame
// drawn into it.

#include "app/core/app_hooks.h"
#include "app/desktop/frame_timer.h"
#include "app/desktop/ui_layer.h"

#include <SDL.h>

#include <optional>
#include <string>

namespace lumidor {

/// Outer size of the window before the display configuration resizes it, in pixels.
inline constexpr int kInitialWindowWidth = 696;
inline constexpr int kInitialWindowHeight = 480;

/// The main window and the application state that lives as long as it.
struct TMainWindow {
    SDL_Window* Window = nullptr;          ///< hidden until start-up is over
    SDL_GLContext RenderContext = nullptr; ///< created once, current on the main thread until close
    int ColourBits = 0;                    ///< colour depth the context was made with (0: any)
    bool GLReady = false;                  ///< context current and GL table complete: frames draw
    bool UiReady = false;                  ///< Dear ImGui initialised: frames run the UI hook
    bool DisplayModeSwitched = false;      ///< the display mode was changed and must be restored
    int WantedOuterWidth = 0;              ///< configured outer size in a window; 0 in full screen
    int WantedOuterHeight = 0;             ///< configured outer height in a window; 0 in full screen
    THighResCounter FrameClock;            ///< the frame timer
    /// Started after timeline work; the next frame's FrameTime is read from it, so the effect does not
    /// count the work, while the frame rate still does.
    THighResCounter EffectClock;
    bool EffectClockRestarted = false; ///< the next frame reads FrameTime from EffectClock
    float FramesPerSecond = 0.0f;      ///< 1 / duration of the last frame; 0 until the first frame
    TPointerFeed Pointer;              ///< mouse state for the UI, from the events received
};

/// What one frame should do beyond drawing.
struct TFrameRequest {
    std::optional<float> FixedFrameTime; ///< seconds to use as FrameTime instead of the measured time
    std::string ScreenshotFile;          ///< PNG to write from this frame before the swap; empty for none
    std::string RecordFile;              ///< a further PNG of the same picture (--record); empty for none
};

/// Creates the hidden window (outer size 696 x 480, centred, initial caption) and its rendering
/// context with the pixel format: RGBA, double-buffered, `bitsPerPixel` colour bits, depth 24,
/// stencil 0. When no context has that many colour bits, fewer are tried. Throws on failure.
void CreateMainWindow(TMainWindow& window, int bitsPerPixel);

/// With SDL's off-screen driver (SDL_VIDEODRIVER=offscreen), makes window and context again at the
/// window's present size: that driver draws into a buffer made with the window, which no resize follows.
/// Needs no GL object to exist yet. Throws when the new window cannot be made.
void FitOffscreenSurface(TMainWindow& window);

/// Makes the context current (after FitOffscreenSurface), turns the swap interval off, fills the GL
/// table and checks for GL_ARB_vertex_buffer_object. Throws with the reason when anything is missing.
void ActivateRenderContext(TMainWindow& window);

/// glEnable of GL_DEPTH_TEST, then of GL_TEXTURE_2D.
void EnableDefaultState();

/// Shows the window at its configured outer size, then (with a usable context) clears it and swaps once,
/// so that the first frame draws into buffers of the window's final size: until the first swap,
/// software OpenGL keeps the size the window had when its context was made current.
void ShowMainWindow(TMainWindow& window);

/// Client size in pixels and outer width of the window now.
TFrameView QueryFrameView(const TMainWindow& window);
/// The view of a drawable of the given size with the frame's side borders; sides below 1 become 1.
TFrameView MakeFrameView(int drawableWidth, int drawableHeight, int borderLeft, int borderRight);

/// One frame: timer and FrameTime, projection, viewport, clear, camera, effect pass, UI (a close request
/// of the hooks becomes an SDL_QUIT event), optional screenshot, swap, then the FrameDone hook. Without
/// a usable context only the timer runs. Returns false if a requested screenshot or recorded frame could
/// not be written.
bool DrawFrame(TMainWindow& window, const TAppHooks& hooks, const TFrameRequest& request);

/// Handles pending events for runs without the frame loop (benchmark, soak): pointer and UI only.
/// False when the window is being closed.
bool PumpUnattendedEvents(TMainWindow& window);

/// Releases the context from the thread, restores the display mode and destroys the window.
void CloseMainWindow(TMainWindow& window);

} // namespace lumidor
