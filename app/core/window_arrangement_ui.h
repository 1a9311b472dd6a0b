#pragma once
// "Arrange windows": the tool windows put in the column of window_arrangement.h. Until it is first
// chosen, or AutoArrangedWindowCount windows are open together, the windows open where they always
// have, each as wide as its content; from then on the arrangement holds, and a window that opens or
// closes, or a main window that changes size, has the open windows arranged again.

#include "app/core/window_arrangement.h"

namespace lumidor {

/// "Arrange windows" was chosen: open windows keep to the column and are not sized to their content.
extern bool WindowsArranged;

/// Open tool windows from which on they are arranged without being asked: more would pile up.
inline constexpr int AutoArrangedWindowCount = 4;

/// The menu entry "Arrange windows": every open tool window goes to its place in the column now.
void ArrangeWindowsClick();

/// Works out the places of the open windows when an arrangement is due (after the click, when the open
/// windows or the viewport changed); call once per UI frame before the windows are drawn.
void UpdateWindowArrangement();

/// Call before ImGui::Begin of tool window `window`: sets its place, size and collapsed state when the
/// arrangement has a new place for it. True while windows are arranged: the window then keeps the size
/// it was given instead of sizing itself to its content.
bool PlaceArrangedWindow(TToolWindow window);

/// Forgets the arrangement (windows open where they always have), for a fresh start of the demo.
void ResetWindowArrangement();

} // namespace lumidor
