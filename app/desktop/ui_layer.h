#pragma once
// Dear ImGui on the main window: set-up, one UI frame per drawn frame, and the mouse fed from the
// events the window receives (the SDL backend reads the system pointer, which injected events do not
// move).

#include "app/core/app_hooks.h"

#include <SDL.h>

#include <optional>

struct ImGuiIO;

namespace lumidor {

/// The menu and window font, and its size in pixels.
inline constexpr const char* kUiFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr float kUiFontPixels = 15.0f;

/// Mouse as seen through events; positions in window coordinates.
struct TPointerFeed {
    float X = -3.402823466e+38f;   ///< pointer x; -FLT_MAX while the pointer is outside the window
    float Y = -3.402823466e+38f;   ///< pointer y; -FLT_MAX while the pointer is outside the window
    bool Held[3] = {};             ///< left, right, middle button currently down
    bool PressedThisFrame[3] = {}; ///< went down since the last UI frame (kept for a press-release pair)
};

/// Updates the feed from a mouse or window event; other events are ignored.
void FeedPointerEvent(TPointerFeed& pointer, const SDL_Event& event);
/// Writes the feed into ImGui's mouse position and buttons and starts a new press window.
void ApplyPointerFeed(TPointerFeed& pointer, ImGuiIO& io);

/// Creates the ImGui context (no ini or log file) with the SDL2 and OpenGL2 backends. On failure shows
/// why and returns false; the demo then runs without menu and windows.
bool InitUi(SDL_Window* window, SDL_GLContext context);
/// Hands an event to the ImGui SDL backend (keyboard, text, wheel, focus).
void ProcessUiEvent(const SDL_Event& event);
/// True when the UI takes the keyboard (a focused window or text field); false without a UI.
bool UiTakesKeyboard();
/// The core's key for a key press the UI does not take: Space (not its auto-repeats), the right arrow
/// (repeats too, so holding it steps on) and Home; nothing for any other event.
std::optional<TAppKey> CoreKeyOf(const SDL_Event& event, bool uiTakesKeyboard);
/// Starts a UI frame with the mouse taken from `pointer`.
void BeginUiFrame(TPointerFeed& pointer);
/// Ends the UI frame and draws it over the current frame, restoring the GL state it changes.
void EndUiFrame();
/// Shuts the backends and the context down; the GL context must still be current.
void ShutdownUi();

} // namespace lumidor
