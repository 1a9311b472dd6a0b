#pragma once
// The arrangement of the demo's tool windows that leaves the effect in view: one column along the left
// edge of the main window, the windows stacked in it in a fixed order, each with a share of its height.
// When the column cannot hold them all, the least needed ones shrink to their title bars. The effect is
// drawn centred, so the rest of the window, its middle included, stays free. Pure: the ImGui side
// (window_arrangement_ui.cpp) measures the windows and applies the places.

#include "app/core/window_placement.h"

#include <vector>

namespace lumidor {

/// The tool windows that take part, in their order in the column, top to bottom.
enum class TToolWindow { Statistics, Inspector, Properties, ScriptLog, Timeline };

/// One open window as the arrangement sees it.
struct TColumnRequest {
    TToolWindow Window = TToolWindow::Statistics;
    float WantedHeight = 0.0f; ///< the height its whole content takes, title bar included
    float MinHeight = 0.0f;    ///< the least height that is still of use open (it scrolls below its content)
};

/// Where one window goes.
struct TColumnPlace {
    TToolWindow Window = TToolWindow::Statistics;
    TUiRect Rect;           ///< its place; the title bar's height when collapsed
    bool Collapsed = false; ///< shown as its title bar alone
};

/// Gap between the column and the main window's edges, and between two windows, in pixels.
inline constexpr float ColumnMargin = 8.0f;

/// Width of the column for a viewport `viewportWidth` pixels wide: 32 % of it, within 240 .. 420 pixels
/// (256 at 800, which leaves a centred effect 136 pixels left of its centre), never wider than the
/// viewport without its margins.
float ColumnWidth(float viewportWidth);

/// The places of the `open` windows (any order, each window at most once) in the column of `viewport`,
/// in column order. A window whose wanted height fits gets it; when they do not all fit, the windows
/// left open share the height in proportion to what they want beyond their least height, after the least
/// needed ones (Properties first, then the script log, the statistics, the inspector, the timeline last)
/// are collapsed to `titleBarHeight`. Height the windows do not want goes to the script log, else to the
/// inspector, so that their long lists show more. Windows never overlap; in a viewport too low even for
/// the title bars, the lowest run past its bottom (KeepWindowsInside then moves them in).
std::vector<TColumnPlace> ArrangeColumn(const TUiRect& viewport, const std::vector<TColumnRequest>& open,
                                        float titleBarHeight);

} // namespace lumidor
