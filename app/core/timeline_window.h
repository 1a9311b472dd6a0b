#pragma once
// The "Timeline" window: pause, single step, speed, restart, and a slider that seeks the current effect;
// and the keys that do the same (space pauses, the right arrow steps).

#include "app/core/app_hooks.h"

namespace lumidor {

/// The window is shown; the menu entry "Timeline" sets it, its close box clears it.
extern bool TimelineVisible;

/// "Timeline": shows the window (and brings it forward when shown).
void TimelineClick();

/// Draws the window when visible; call once per UI frame.
void DrawTimelineWindow();

/// Space pauses or runs the effect, the right arrow runs it one step (and pauses it).
void TimelineKey(TAppKey key);

} // namespace lumidor
