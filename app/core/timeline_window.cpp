// The "Timeline" window (timeline_window.h). A seek is asked for when the slider is let go, so that
// dragging re-runs nothing until the user has chosen a time.

#include "app/core/timeline_window.h"

#include "app/core/effects_startup.h"
#include "app/core/timeline_control.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <string>

namespace lumidor {

bool TimelineVisible = false;

namespace {

bool bringForward = false;
bool seekDragging = false; // the slider was held in the last frame
float seekTarget = 0.0f;   // the slider's value while held

/// The slider spans the effect's whole range from the start, so its handle never jumps under the mouse;
/// it moves on the step grid, and the time it shows is that of the step a seek goes to.
void DrawSeekSlider(const TEffectTimeline& effect) {
    const float end = float(TimelineSliderEnd(effect.Length));
    if (!seekDragging) seekTarget = float(std::min(effect.Seconds, double(end)));
    if (!effect.CanSeek) {
        ImGui::BeginDisabled();
        float shown = 0.0f;
        ImGui::SliderFloat("Time", &shown, 0.0f, end, "%.2f s");
        NoteLastItem("Timeline time");
        ImGui::EndDisabled();
        ImGui::TextDisabled("Cannot seek: %s.", effect.Reason.c_str());
        NoteLastItem("Timeline reason");
        return;
    }
    if (ImGui::SliderFloat("Time", &seekTarget, 0.0f, end, "%.2f s"))
        seekTarget = float(SecondsOfSteps(StepsForSeconds(double(seekTarget))));
    NoteLastItem("Timeline time");
    seekDragging = ImGui::IsItemActive();
    if (ImGui::IsItemDeactivatedAfterEdit()) SeekTimeline(Timeline, double(seekTarget));
}

} // namespace

void TimelineClick() {
    TimelineVisible = true;
    bringForward = true;
}

void TimelineKey(TAppKey key) {
    if (key == TAppKey::Space) ToggleTimelinePause(Timeline);
    if (key == TAppKey::RightArrow) StepTimeline(Timeline);
}

void DrawTimelineWindow() {
    if (!TimelineVisible) return;
    ImGui::SetNextWindowPos(ImVec2(20.0f, 420.0f), ImGuiCond_FirstUseEver);
    // A fixed width and the height of what it shows: the progress line of timeline work comes and goes
    // without pushing the slider out of sight. Arranged in the column, it takes the size given there.
    const bool arranged = PlaceArrangedWindow(TToolWindow::Timeline);
    if (!arranged) ImGui::SetNextWindowSizeConstraints(ImVec2(360.0f, 0.0f), ImVec2(360.0f, FLT_MAX));
    if (bringForward) {
        ImGui::SetNextWindowFocus();
        bringForward = false;
    }
    // No keyboard navigation inside: space and the right arrow stay the timeline's keys while it has focus.
    if (ImGui::Begin("Timeline", &TimelineVisible,
                     ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoNavInputs |
                         (arranged ? ImGuiWindowFlags_None : ImGuiWindowFlags_AlwaysAutoResize))) {
        const TEffectTimeline effect = EffectTimeline(CurrentEffect);
        if (ImGui::Button(Timeline.Paused ? "Play" : "Pause", ImVec2(60.0f, 0.0f)))
            ToggleTimelinePause(Timeline);
        NoteLastItem("Timeline pause");
        ImGui::SameLine();
        if (ImGui::Button("Step")) StepTimeline(Timeline);
        NoteLastItem("Timeline step");
        ImGui::SameLine();
        if (!effect.CanSeek) ImGui::BeginDisabled();
        if (ImGui::Button("Restart")) RestartTimeline(Timeline);
        NoteLastItem("Timeline restart");
        if (!effect.CanSeek) ImGui::EndDisabled();
        ImGui::SameLine();
        ImGui::Text("%.2f s%s", effect.Seconds,
                    effect.Finished   ? " (finished)"
                    : Timeline.Paused ? " (paused)"
                                      : "");
        NoteLastItem("Timeline clock");
        if (const std::string work = TimelineWorkText(); !work.empty()) {
            ImGui::TextUnformatted(work.c_str());
            NoteLastItem("Timeline work");
        }

        float speed = Timeline.Speed;
        if (ImGui::SliderFloat("Speed", &speed, MinTimelineSpeed, MaxTimelineSpeed, "%.2fx",
                               ImGuiSliderFlags_Logarithmic))
            SetTimelineSpeed(Timeline, speed);
        NoteLastItem("Timeline speed");
        DrawSeekSlider(effect);
    }
    ImGui::End();
}

} // namespace lumidor
