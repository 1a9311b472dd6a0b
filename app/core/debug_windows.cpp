#include "app/core/debug_windows.h"

#include "app/core/debug_tools.h"
#include "app/core/effect_menu.h"
#include "app/core/effect_names.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"
#include "app/core/window_placement.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace lumidor {

namespace {

// The Statistics window's content width: its table and plots, and so the window, keep it.
constexpr float StatisticsContentWidth = 400.0f;
// Rows of a list shown before it scrolls: the systems of an effect, the magnets of a particle.
constexpr int SystemRowsShown = 8;
constexpr int MagnetRowsShown = 6;
// Where the inspector opens: its top-right corner below the banner, near the right edge.
constexpr float InspectorTop = 112.0f;
constexpr float InspectorRightMargin = 10.0f;

float TableRowHeight() {
    return ImGui::GetFontSize() + 2.0f * ImGui::GetStyle().CellPadding.y;
}

void VectorRow(const char* label, const TVector3& v) {
    ImGui::TableNextRow();
    ImGui::TableNextColumn();
    ImGui::TextUnformatted(label);
    for (const float component : {v.x, v.y, v.z}) {
        ImGui::TableNextColumn();
        ImGui::Text("%9.4f", double(component));
    }
}

// A table of vectors; one of more than `rowsShown` rows scrolls in the height of that many.
bool BeginVectorTable(const char* id, int rows = 0, int rowsShown = 0) {
    const bool scrolls = rowsShown > 0 && rows > rowsShown;
    const ImGuiTableFlags flags = ImGuiTableFlags_RowBg | ImGuiTableFlags_SizingFixedFit |
                                  (scrolls ? ImGuiTableFlags_ScrollY : ImGuiTableFlags_None);
    const ImVec2 size(0.0f, scrolls ? ListHeight(rows, rowsShown, TableRowHeight()) : 0.0f);
    if (!ImGui::BeginTable(id, 4, flags, size)) return false;
    if (scrolls) ImGui::TableSetupScrollFreeze(0, 1);
    ImGui::TableSetupColumn("");
    ImGui::TableSetupColumn("x");
    ImGui::TableSetupColumn("y");
    ImGui::TableSetupColumn("z");
    ImGui::TableHeadersRow();
    return true;
}

const char* ModeName(std::int32_t mode) {
    switch (mode) {
    case 0:
        return "per axis";
    case 1:
        return "radial, falling off";
    case 2:
        return "radial, constant";
    default:
        return "inert mode";
    }
}

void DrawStep(const TParticleStepBreakdown& step) {
    ImGui::Text("Last step: %.4f s", double(step.Dt));
    if (BeginVectorTable("terms")) {
        VectorRow("Force term", step.ForceTerm);
        VectorRow("Wind term", step.WindTerm);
        VectorRow("Magnet impulse term", step.MagnetTerm);
        if (step.Turbulence.x != 0.0f || step.Turbulence.y != 0.0f || step.Turbulence.z != 0.0f)
            VectorRow("Turbulence", step.Turbulence);
        VectorRow("Target speed", step.Target);
        VectorRow("Step (target x dt)", step.Step);
        VectorRow("Velocity before", step.Before.Velocity);
        VectorRow("Velocity after", step.After.Velocity);
        if (step.VortexMove.x != 0.0f || step.VortexMove.y != 0.0f || step.VortexMove.z != 0.0f)
            VectorRow("Vortex move", step.VortexMove);
        ImGui::EndTable();
    }
    if (step.Spin != 0.0f || step.AngleBefore != step.AngleAfter || step.AngleBefore != 0.0f)
        ImGui::Text("Angle %.2f -> %.2f degrees (spin %.2f degrees a second)", double(step.AngleBefore),
                    double(step.AngleAfter), double(step.Spin));
    ImGui::Text(
        "Step added on: %s%s%s%s", step.Accelerated[0] ? "x " : "", step.Accelerated[1] ? "y " : "",
        step.Accelerated[2] ? "z " : "",
        step.Accelerated[0] || step.Accelerated[1] || step.Accelerated[2] ? "" : "no axis (at target speed)");
    if (step.Magnets.empty()) {
        ImGui::TextUnformatted("Magnets: none");
    } else if (BeginVectorTable("magnets", int(step.Magnets.size()) + 1, MagnetRowsShown)) {
        for (const TMagnetContribution& magnet : step.Magnets) {
            char label[96];
            std::snprintf(label, sizeof label, "Magnet %d (%s)", int(magnet.Id), ModeName(magnet.Mode));
            if (magnet.InRange) {
                VectorRow(label, magnet.Force);
            } else {
                ImGui::TableNextRow();
                ImGui::TableNextColumn();
                ImGui::TextUnformatted(label);
                ImGui::TableNextColumn();
                ImGui::TextDisabled(magnet.Mode < 0 || magnet.Mode > 2 ? "inert" : "out of reach");
            }
        }
        VectorRow("Magnet force (sum)", step.MagnetForce);
        ImGui::EndTable();
    }
    if (step.StoppedOnGround) {
        ImGui::TextUnformatted("Ground: stopped there, dies in the next pass");
    } else if (step.Bounced) {
        ImGui::Text("Ground: bounced (normal %.3f, %.3f, %.3f)", double(step.GroundNormal.x),
                    double(step.GroundNormal.y), double(step.GroundNormal.z));
    } else {
        ImGui::TextUnformatted("Ground: no bounce");
    }
    if (step.AirKept != 1.0f) ImGui::Text("Air resistance kept %.4f of the velocity", double(step.AirKept));
}

} // namespace

void ShowStatisticsWindow() {
    DebugTools.StatisticsVisible = true;
    ImGui::SetWindowFocus("Statistics");
}

void DrawStatisticsWindow() {
    if (!DebugTools.StatisticsVisible) return;
    // Sized to its content, which keeps one width; only a long list of systems scrolls. Arranged in the
    // column, it takes the column's width and its share of the height instead.
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_FirstUseEver);
    LimitNextWindowToViewport();
    const bool arranged = PlaceArrangedWindow(TToolWindow::Statistics);
    // No keyboard navigation inside, as in the inspector: space and the right arrow stay the timeline's.
    if (!ImGui::Begin("Statistics", &DebugTools.StatisticsVisible,
                      (arranged ? ImGuiWindowFlags_None : ImGuiWindowFlags_AlwaysAutoResize) |
                          ImGuiWindowFlags_NoNavInputs)) {
        ImGui::End();
        return;
    }
    const float contentWidth =
        arranged ? std::max(ImGui::GetContentRegionAvail().x, 1.0f) : StatisticsContentWidth;
    const TFrameStats& frame = DebugTools.Last;
    const std::string effect = EffectName(frame.Slot);
    ImGui::TextUnformatted(effect.empty() ? "No effect" : effect.c_str());
    NoteLastItem("Statistics effect");
    const int systems = int(frame.Systems.size());
    const bool systemsScroll = systems > SystemRowsShown;
    const ImVec2 tableSize(contentWidth,
                           systemsScroll ? ListHeight(systems, SystemRowsShown, TableRowHeight()) : 0.0f);
    if (ImGui::BeginTable("systems", 4,
                          ImGuiTableFlags_RowBg | ImGuiTableFlags_SizingFixedFit |
                              (systemsScroll ? ImGuiTableFlags_ScrollY : ImGuiTableFlags_None),
                          tableSize)) {
        if (systemsScroll) ImGui::TableSetupScrollFreeze(0, 1);
        ImGui::TableSetupColumn("System", ImGuiTableColumnFlags_WidthStretch);
        ImGui::TableSetupColumn("Live");
        ImGui::TableSetupColumn("Magnets");
        ImGui::TableSetupColumn("Pass ms");
        ImGui::TableHeadersRow();
        for (const TSystemFrameStats& system : frame.Systems) {
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(system.Name.c_str());
            ImGui::TableNextColumn();
            ImGui::Text("%d", int(system.Live));
            ImGui::TableNextColumn();
            ImGui::Text("%d", int(system.Magnets));
            ImGui::TableNextColumn();
            ImGui::Text("%.3f", system.PassMs);
        }
        ImGui::EndTable();
    }
    ImGui::Text("Particles: %lld   simulated per second: %.0f", static_cast<long long>(TotalParticles(frame)),
                ParticlesPerSecond(frame));
    ImGui::Text("Frame %.2f ms, effect pass %.2f ms (%.0f%%)", frame.FrameMs, frame.EngineMs,
                frame.FrameMs > 0 ? 100.0 * frame.EngineMs / frame.FrameMs : 0.0);

    const std::vector<float> frameMs = InTimeOrder(DebugTools.History, DebugTools.History.FrameMs);
    const std::vector<float> engineMs = InTimeOrder(DebugTools.History, DebugTools.History.EngineMs);
    const float top =
        frameMs.empty() ? 1.0f : std::max(1.0f, *std::max_element(frameMs.begin(), frameMs.end()));
    const ImVec2 plotSize(contentWidth, 56.0f);
    char overlay[64];
    std::snprintf(overlay, sizeof overlay, "frame ms, last %d frames (top %.1f)", int(frameMs.size()),
                  double(top));
    ImGui::PlotLines("##frame", frameMs.data(), int(frameMs.size()), 0, overlay, 0.0f, top, plotSize);
    ImGui::PlotLines("##engine", engineMs.data(), int(engineMs.size()), 0, "effect pass ms (same scale)",
                     0.0f, top, plotSize);

    ImGui::Separator();
    ImGui::TextUnformatted("Gizmos in debug mode:");
    ImGui::Checkbox("Magnet reach", &DebugTools.ShowMagnetGizmos);
    NoteLastItem("Magnet reach");
    ImGui::SameLine();
    ImGui::Checkbox("Ground grid", &DebugTools.ShowGroundGizmos);
    NoteLastItem("Ground grid");
    if (!DebugMode1Checked) ImGui::TextDisabled("Debug mode is off (right-click menu).");
    if (!DebugTools.Inspecting) {
        ImGui::TextDisabled("Click a particle to inspect it.");
        NoteLastItem("Pick hint");
    }
    ImGui::End();
}

void HandleInspectorClick() {
    const ImGuiIO& io = ImGui::GetIO();
    // With Alt held the left button turns the camera (camera_controls.cpp) and picks nothing.
    if (io.WantCaptureMouse || io.KeyAlt || ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId)) return;
    if (ImGui::IsMouseClicked(ImGuiMouseButton_Left)) RequestPick(io.MousePos.x, io.MousePos.y);
}

void DrawParticleInspector() {
    if (!DebugTools.Inspecting) return;
    // Right-hand side below the banner, placed anew whenever a selection opens it: by its top-right
    // corner, which ImGui places once the width of the sized-to-content window is known. Where the
    // viewport is too small for it, KeepWindowsInside moves it in.
    // Arranged in the column, it is placed and sized there instead.
    const TUiRect viewport = UiViewport();
    const bool arranged = WindowsArranged;
    if (!arranged)
        ImGui::SetNextWindowPos(
            ImVec2(viewport.X + viewport.Width - InspectorRightMargin, viewport.Y + InspectorTop),
            ImGuiCond_Appearing, ImVec2(1.0f, 0.0f));
    LimitNextWindowToViewport();
    PlaceArrangedWindow(TToolWindow::Inspector);
    bool open = true;
    // No keyboard navigation inside: space and the right arrow stay the timeline's keys while it has focus.
    if (!ImGui::Begin("Particle inspector", &open,
                      (arranged ? ImGuiWindowFlags_None : ImGuiWindowFlags_AlwaysAutoResize) |
                          ImGuiWindowFlags_NoNavInputs)) {
        ImGui::End();
        if (!open) ClearInspection();
        return;
    }
    const TInspectedParticle& inspected = DebugTools.Inspected;
    ImGui::Text("%s, particle %d", inspected.System.c_str(), int(inspected.Index));
    if (!inspected.Running && !inspected.Gone)
        ImGui::TextDisabled("Its system is not running: frozen until an effect that uses it runs.");
    if (inspected.Gone) {
        ImGui::TextColored(ImVec4(1.0f, 0.6f, 0.3f, 1.0f), "gone");
        NoteLastItem("gone");
    } else {
        const TParticle& p = inspected.Record;
        if (BeginVectorTable("record")) {
            VectorRow("Position", p.Position);
            VectorRow("Velocity", p.Velocity);
            VectorRow("Size", p.Size);
            ImGui::EndTable();
        }
        ImGui::Text("Life left %.3f s of %.3f s", double(p.LifeLeft), double(p.LifeLength));
        NoteLastItem("Life left");
        ImGui::TextUnformatted(OpacityText(inspected).c_str());
        NoteLastItem("Opacity");
        ImGui::Separator();
        if (inspected.StepSeen) {
            DrawStep(inspected.Step);
        } else {
            ImGui::TextDisabled("No step taken since it was selected.");
        }
    }
    ImGui::End();
    if (!open) ClearInspection();
}

} // namespace lumidor
