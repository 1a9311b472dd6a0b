#pragma once
// Dear ImGui in the browser: the OpenGL ES 3 backend from the imgui sources on the WebGL 2 context,
// and mouse and keys fed from the page's events through emscripten's html5.h (there is no SDL on the
// web). The same menu and properties window as the desktop run on top of it.

#include "app/core/app_hooks.h"

#include <functional>

namespace lumidor::web {

/// Where key presses the UI does not take go (Space, not its repeats, the right arrow and Home),
/// between frames; empty: nowhere.
void SetCoreKeyHandler(std::function<void(TAppKey)> handler);
/// Asked before each such key press goes to the core's handler: a page whose canvas shares the
/// keyboard with other elements lets the keys through only while the canvas has the focus. Empty
/// (the default): every such press goes through.
void SetCoreKeyFilter(std::function<bool()> filter);

/// Creates the ImGui context (no ini or log file), the renderer backend and the input callbacks on
/// the element `canvasSelector` (e.g. "#canvas"). Returns an empty string or why the UI cannot run.
const char* InitWebUi(const char* canvasSelector);
/// Starts a UI frame for a drawing surface of `width` x `height` pixels, `seconds` after the last.
void BeginWebUiFrame(int width, int height, float seconds);
/// Ends the UI frame and draws it over the frame; the backend restores the WebGL state it changes.
void EndWebUiFrame();

} // namespace lumidor::web
