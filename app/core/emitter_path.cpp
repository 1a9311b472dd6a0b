// The played scripts' emitter path (emitter_path.h).

#include "app/core/emitter_path.h"

#include "app/core/live_scripts.h"
#include "app/core/timeline_control.h"
#include "app/core/ui_item_rects.h"

#include <imgui.h>

namespace lumidor {

TEmitterPath EmitterPathChoice = TEmitterPath::Still;

namespace {

constexpr TEmitterPath kPaths[] = {TEmitterPath::Still, TEmitterPath::Circle, TEmitterPath::FigureOfEight};

} // namespace

void ApplyEmitterPath(TParticleScript& script) {
    if (script.EmitterPath == EmitterPathChoice) return;
    script.EmitterPath = EmitterPathChoice;
    ForgetScriptTimeline(script);
}

void ChooseEmitterPath(TEmitterPath path) {
    EmitterPathChoice = path;
    for (TPlayedScript& played : PlayedScripts)
        ApplyEmitterPath(played.Script);
}

const char* EmitterPathCaption(TEmitterPath path) {
    switch (path) {
    case TEmitterPath::Still:
        break;
    case TEmitterPath::Circle:
        return "Circle";
    case TEmitterPath::FigureOfEight:
        return "Figure of eight";
    }
    return "Still";
}

void DrawEmitterPathMenu() {
    const bool open = ImGui::BeginMenu("Emitter path");
    NoteLastItem("Emitter path");
    if (!open) return;
    for (const TEmitterPath path : kPaths) {
        const char* caption = EmitterPathCaption(path);
        if (ImGui::MenuItem(caption, nullptr, EmitterPathChoice == path)) ChooseEmitterPath(path);
        NoteLastItem(caption);
    }
    ImGui::EndMenu();
}

} // namespace lumidor
