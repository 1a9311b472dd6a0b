// The ImGui half of window placement: the viewport, the next window's place, and the pass that keeps
// the windows of the last frame inside the viewport.

#include "app/core/window_placement.h"

#include <imgui.h>
#include <imgui_internal.h>

namespace lumidor {

TUiRect UiViewport() {
    const ImGuiViewport* viewport = ImGui::GetMainViewport();
    return {viewport->WorkPos.x, viewport->WorkPos.y, viewport->WorkSize.x, viewport->WorkSize.y};
}

void PlaceNextWindow(const TUiRect& wanted, int condition) {
    const TUiRect fitted = FitInside(UiViewport(), wanted);
    ImGui::SetNextWindowPos(ImVec2(fitted.X, fitted.Y), condition);
    ImGui::SetNextWindowSize(ImVec2(fitted.Width, fitted.Height), condition);
}

void LimitNextWindowToViewport() {
    const TUiRect viewport = UiViewport();
    ImGui::SetNextWindowSizeConstraints(ImVec2(0.0f, 0.0f), ImVec2(viewport.Width, viewport.Height));
}

void KeepWindowsInside() {
    const TUiRect viewport = UiViewport();
    if (viewport.Width <= 0.0f || viewport.Height <= 0.0f) return; // minimised: nothing is drawn
    constexpr ImGuiWindowFlags placedByImGui = ImGuiWindowFlags_ChildWindow | ImGuiWindowFlags_Popup |
                                               ImGuiWindowFlags_Tooltip | ImGuiWindowFlags_ChildMenu |
                                               ImGuiWindowFlags_Modal;
    for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows) {
        if (!window->WasActive || window->Hidden || window->IsFallbackWindow ||
            (window->Flags & placedByImGui) != 0)
            continue;
        // A window sized to its content takes this frame the size its last content asks for (ImGui
        // keeps it within the display); it is placed by that size, so that it never shows crossing the
        // edge while it grows. A collapsed window keeps the size it will open to.
        const bool autoSized = (window->Flags & ImGuiWindowFlags_AlwaysAutoResize) != 0 && !window->Collapsed;
        const ImVec2 size = autoSized ? ImGui::CalcWindowNextAutoFitSize(window) : window->Size;
        const TUiRect now{window->Pos.x, window->Pos.y, size.x, size.y};
        const TUiRect fitted = FitInside(viewport, now);
        if (fitted == now) continue;
        if ((fitted.Width != now.Width || fitted.Height != now.Height) && !window->Collapsed && !autoSized)
            ImGui::SetWindowSize(window, ImVec2(fitted.Width, fitted.Height));
        ImGui::SetWindowPos(window, ImVec2(fitted.X, fitted.Y));
    }
}

} // namespace lumidor
