#pragma once
// Where the demo's ImGui windows go: inside the main window, whatever its size. A window's wanted place
// and size are fitted into the viewport when it opens, and any window the viewport no longer holds (the
// main window shrank, the user dragged it off) is moved and shrunk back inside before the next frame.

namespace lumidor {

/// A rectangle in window pixels: top-left corner and size.
struct TUiRect {
    float X = 0.0f;
    float Y = 0.0f;
    float Width = 0.0f;
    float Height = 0.0f;
    bool operator==(const TUiRect&) const = default; ///< same place and size
};

/// `wanted` inside `viewport`: no larger than the viewport on either axis, and moved in from any edge it
/// crosses (from the right and bottom first, so that a window as large as the viewport sits at its
/// top-left corner). A window already inside is returned as it is.
TUiRect FitInside(const TUiRect& viewport, const TUiRect& wanted);

/// Height of a list of `rows` rows of `rowHeight` pixels under a header row, showing at most `maxRows`:
/// a longer list scrolls in that height, a shorter one takes only what it needs (at least one row).
float ListHeight(int rows, int maxRows, float rowHeight);

/// The viewport the demo's windows must stay in: ImGui's main viewport (the main window's client area).
TUiRect UiViewport();

/// Sets the next ImGui window's position and size to `wanted` fitted into UiViewport(), under the ImGui
/// condition `condition` (ImGuiCond_FirstUseEver, ImGuiCond_Appearing...).
void PlaceNextWindow(const TUiRect& wanted, int condition);

/// Keeps the next ImGui window no larger than UiViewport(); call before ImGui::Begin of a window sized to
/// its content, which ImGui would otherwise widen past a small viewport to make room for its scrollbar.
void LimitNextWindowToViewport();

/// Moves every window shown in the last frame (not menus, popups or tooltips) back inside UiViewport()
/// and shrinks those larger than it; call once per UI frame, before the windows are drawn.
void KeepWindowsInside();

} // namespace lumidor
