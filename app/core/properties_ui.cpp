// The properties window drawn with Dear ImGui: labels, sliders with a tick ruler and the button at
// their places in the 318 x 187 client area below the title bar.

#include "app/core/properties_window.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"
#include "app/core/window_placement.h"

#include <imgui.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace lumidor {

namespace {

constexpr float ClientWidth = 318.0f;
constexpr float ClientHeight = 187.0f;
constexpr float BarWidth = 150.0f;

// The value a slider stands for: the wind in units per second, the friction as the fraction of
// velocity lost in a bounce.
std::string ValueText(int trackBar, int position) {
    char text[32];
    if (trackBar <= 3)
        std::snprintf(text, sizeof text, "%+.1f", static_cast<double>(WindComponent(position)));
    else
        std::snprintf(text, sizeof text, "%.2f", static_cast<double>(FrictionComponent(position)));
    return text;
}

// A tick below the bar for every unit, longer every ten, over the travel of the grab's centre.
void DrawTicks(const ImVec2& barMin, const ImVec2& barMax) {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float travelLeft = barMin.x + 2.0f + 0.5f * style.GrabMinSize;
    const float travelRight = barMax.x - 2.0f - 0.5f * style.GrabMinSize;
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    const ImU32 colour = ImGui::GetColorU32(ImGuiCol_TextDisabled);
    for (int unit = TrackBarMin; unit <= TrackBarMax; ++unit) {
        const float x =
            std::floor(travelLeft + (travelRight - travelLeft) * float(unit) / float(TrackBarMax)) + 0.5f;
        const float length = unit % 10 == 0 ? 5.0f : 2.0f;
        const float top = barMax.y + 2.0f;
        drawList->AddLine(ImVec2(x, top), ImVec2(x, top + length), colour);
    }
}

} // namespace

void DrawProperties(TProperties& properties) {
    if (!properties.Visible) return;
    const float titleBar = ImGui::GetFrameHeight();
    // Its own size, unless the main window is smaller: then as large as that, scrolling.
    const TUiRect viewport = UiViewport();
    const TUiRect fitted =
        FitInside(viewport, {viewport.X, viewport.Y, ClientWidth, ClientHeight + titleBar});
    // Arranged in the column, it keeps the size given there and scrolls what does not fit.
    const bool arranged = WindowsArranged;
    const bool whole = !arranged && fitted.Width == ClientWidth && fitted.Height == ClientHeight + titleBar;
    if (!arranged) {
        PlaceNextWindow({192.0f, 107.0f, fitted.Width, fitted.Height}, ImGuiCond_FirstUseEver);
        ImGui::SetNextWindowSize(ImVec2(fitted.Width, fitted.Height), ImGuiCond_Always);
    }
    PlaceArrangedWindow(TToolWindow::Properties);
    if (properties.BringForward) {
        ImGui::SetNextWindowFocus();
        properties.BringForward = false;
    }
    bool open = true;
    const ImGuiWindowFlags flags =
        ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings |
        (whole ? ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoScrollWithMouse : ImGuiWindowFlags_None);
    if (ImGui::Begin("Properties", &open, flags)) {
        for (int i = 0; i < TrackBarCount; ++i) {
            const TTrackBarLayout& layout = TrackBarLayouts[static_cast<std::size_t>(i)];
            const int trackBar = i + 1;
            int& position = properties.Positions[static_cast<std::size_t>(i)];
            ImGui::SetCursorPos(ImVec2(layout.LabelX, titleBar + layout.LabelY));
            ImGui::TextUnformatted(layout.Label);
            // The value the position stands for, right-aligned above the bar's end.
            const std::string value = ValueText(trackBar, position);
            ImGui::SetCursorPos(ImVec2(layout.BarX + BarWidth - 4.0f - ImGui::CalcTextSize(value.c_str()).x,
                                       titleBar + layout.LabelY));
            ImGui::TextDisabled("%s", value.c_str());

            // The slider fills the upper part of its 150 x 33 place, the ticks the rest.
            ImGui::SetCursorPos(ImVec2(layout.BarX + 4.0f, titleBar + layout.BarY + 2.0f));
            ImGui::SetNextItemWidth(BarWidth - 8.0f);
            const std::string id = "##TrackBar" + std::to_string(trackBar);
            if (ImGui::SliderInt(id.c_str(), &position, TrackBarMin, TrackBarMax, "",
                                 ImGuiSliderFlags_AlwaysClamp))
                TrackBarChange(properties, trackBar);
            NoteLastItem(layout.Label);
            DrawTicks(ImGui::GetItemRectMin(), ImGui::GetItemRectMax());
        }
        ImGui::SetCursorPos(ImVec2(120.0f, titleBar + 160.0f));
        if (ImGui::Button("Close", ImVec2(75.0f, 25.0f))) Button1Click(properties);
        NoteLastItem("Close");
    }
    ImGui::End();
    if (!open) Button1Click(properties); // the title bar's close box hides it like the button
}

} // namespace lumidor
