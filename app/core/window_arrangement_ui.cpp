// The ImGui half of the arrangement: which windows are open and how tall their content is, and the
// places handed to each window as it is drawn.

#include "app/core/window_arrangement_ui.h"

#include "app/core/demo_windows.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <vector>

namespace lumidor {

bool WindowsArranged = false;

namespace {

// Heights, title bar included, for a window not yet drawn, and the least each is of use at.
struct TWindowHeights {
    float Wanted;
    float Least;
};

TWindowHeights DefaultHeights(TToolWindow window) {
    switch (window) {
    case TToolWindow::Statistics:
        return {330.0f, 130.0f};
    case TToolWindow::Inspector:
        return {420.0f, 140.0f};
    case TToolWindow::Properties:
        return {206.0f, 110.0f};
    case TToolWindow::ScriptLog:
        return {380.0f, 100.0f};
    case TToolWindow::Timeline:
        return {122.0f, 122.0f};
    }
    return {200.0f, 100.0f};
}

bool arrangeNow = false;
unsigned arrangedOpen = 0; // the open windows the places were worked out for, one bit each
TUiRect arrangedViewport;
std::vector<TColumnPlace> pending; // places not yet handed to their windows

unsigned Bit(TToolWindow window) {
    return 1u << unsigned(window);
}

} // namespace

void ArrangeWindowsClick() {
    WindowsArranged = true;
    arrangeNow = true;
}

void UpdateWindowArrangement() {
    unsigned open = 0;
    int openCount = 0;
    for (const TDemoWindow& window : DemoWindows) {
        if (!window.IsOpen()) continue;
        open |= Bit(window.Place);
        ++openCount;
    }
    // A few windows keep the places they open at, each as wide as its content; from the fourth on
    // they would pile over each other and the effect, so the column takes them all from then on.
    if (!WindowsArranged && openCount >= AutoArrangedWindowCount) ArrangeWindowsClick();
    if (!WindowsArranged) return;
    const TUiRect viewport = UiViewport();
    if (viewport.Width <= 0.0f || viewport.Height <= 0.0f) return; // minimised: arranged when shown again
    if (!arrangeNow && open == arrangedOpen && viewport == arrangedViewport) return;

    std::vector<TColumnRequest> requests;
    for (const TDemoWindow& window : DemoWindows) {
        if ((open & Bit(window.Place)) == 0) continue;
        TWindowHeights heights = DefaultHeights(window.Place);
        // A window drawn open before asks for the height of its content.
        ImGuiWindow* shown = ImGui::FindWindowByName(window.Title);
        if (shown && shown->WasActive && !shown->Collapsed)
            heights.Wanted = std::max(heights.Least, ImGui::CalcWindowNextAutoFitSize(shown).y);
        // The timeline's few controls are of no use scrolled: it keeps its whole height or collapses.
        if (window.Place == TToolWindow::Timeline) heights.Least = heights.Wanted;
        requests.push_back({window.Place, heights.Wanted, heights.Least});
    }
    pending = ArrangeColumn(viewport, requests, ImGui::GetFrameHeight());
    arrangedOpen = open;
    arrangedViewport = viewport;
    arrangeNow = false;
}

bool PlaceArrangedWindow(TToolWindow window) {
    const auto place = std::find_if(pending.begin(), pending.end(),
                                    [&](const TColumnPlace& p) { return p.Window == window; });
    if (place != pending.end()) {
        ImGui::SetNextWindowPos(ImVec2(place->Rect.X, place->Rect.Y), ImGuiCond_Always);
        // A collapsed window opens again at the size of a window of its kind that has room.
        const float openHeight = place->Collapsed ? DefaultHeights(window).Least : place->Rect.Height;
        ImGui::SetNextWindowSize(ImVec2(place->Rect.Width, openHeight), ImGuiCond_Always);
        ImGui::SetNextWindowCollapsed(place->Collapsed, ImGuiCond_Always);
        pending.erase(place);
    }
    return WindowsArranged;
}

void ResetWindowArrangement() {
    WindowsArranged = false;
    arrangeNow = false;
    arrangedOpen = 0;
    arrangedViewport = {};
    pending.clear();
}

} // namespace lumidor
