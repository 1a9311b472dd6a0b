#pragma once
// The demo's tool windows in one list: the right-click menu offers an entry for each that has one, the
// arrangement stacks the open ones in its column, and the UI hook draws them all, in this order, every
// frame. A new window is one line here.

#include "app/core/window_arrangement.h"

#include <array>

namespace lumidor {

/// One tool window of the demo.
struct TDemoWindow {
    const char* MenuEntry; ///< its entry in PopupMenu1 ("Properties"); null for a window without one
    void (*Open)();        ///< the entry's action: shows the window, or brings it forward when shown
    void (*Draw)();        ///< draws it while shown; called once per UI frame
    bool (*IsOpen)();      ///< shown this frame
    const char* Title;     ///< its ImGui window name
    TToolWindow Place;     ///< its place in the arrangement's column
};

/// Properties, Script log, Statistics, Timeline and the Particle inspector (opened by a click in debug
/// mode).
extern const std::array<TDemoWindow, 5> DemoWindows;

/// Draws every window of DemoWindows in order; call once per UI frame, after the menu.
void DrawDemoWindows();

} // namespace lumidor
