#include "app/core/effect_menu.h"

#include "app/core/demo_windows.h"
#include "app/core/effects_startup.h"
#include "app/core/emitter_path.h"
#include "app/core/example_scripts.h"
#include "app/core/live_scripts.h"
#include "app/core/menu_hint.h"
#include "app/core/orbit_camera.h"
#include "app/core/properties_window.h"
#include "app/core/script_log_window.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"
#include "effects/effect_slots.h"
#include "effects/effects.h"

#include <imgui.h>

namespace lumidor {

bool DebugMode1Checked = false;

namespace {

bool CloseRequested = false;

} // namespace

void SelectEffect(int slot) {
    CurrentEffect = slot;
}

void DebugMode1Click() {
    // The three flags start off and always flip together, so the first one stands for all three.
    DebugMode1Checked = ToggleDebugMode(FloorEffect);
    ToggleDebugMode(AdditiveEffect);
    ToggleDebugMode(TerrainEffect);
    SetDebugScale(TerrainEffect, 0.2f);
    SetDebugScale(FloorEffect, 0.2f);
    SetDebugScale(AdditiveEffect, 0.2f);
    for (TParticleScript& script : Scripts)
        ToggleScriptDebug(script);
    for (TPlayedScript& played : PlayedScripts)
        ToggleScriptDebug(played.Script);
}

void Properties1Click() {
    ShowProperties(Properties);
}

void Exit1Click() {
    RequestClose();
}

void RequestClose() {
    CloseRequested = true;
}

bool TakeCloseRequest() {
    const bool requested = CloseRequested;
    CloseRequested = false;
    return requested;
}

void DrawPopupMenu1() {
    // Right-click anywhere on the drawing surface; a right-click on the properties window does not
    // open the main window's menu. The entries are Latin captions and read left to right, check mark
    // first; the "Effects" submenu opens on whichever side of the menu has room.
    if (!ImGui::BeginPopupContextVoid("PopupMenu1", ImGuiPopupFlags_MouseButtonRight)) return;
    MenuOpenedOnce = true;
    const bool effectsOpen = ImGui::BeginMenu("Effects");
    NoteLastItem("Effects");
    if (effectsOpen) {
        for (const TEffectSlot& entry : EffectMenu) {
            if (ImGui::MenuItem(entry.Caption)) SelectEffect(entry.Slot);
            NoteLastItem(entry.Caption);
        }
        ImGui::Separator();
        DrawRecentScriptsMenu();
        ImGui::EndMenu();
    }
    DrawExamplesMenu();
    DrawEmitterPathMenu();
    if (ImGui::MenuItem("Reset view", "Home")) ResetOrbitCamera(CurrentCamera);
    NoteLastItem("Reset view");
    ImGui::Separator();
    if (ImGui::MenuItem("Debug mode", nullptr, DebugMode1Checked)) DebugMode1Click();
    NoteLastItem("Debug mode");
    for (const TDemoWindow& window : DemoWindows) {
        if (!window.MenuEntry) continue;
        if (ImGui::MenuItem(window.MenuEntry)) window.Open();
        NoteLastItem(window.MenuEntry);
    }
    if (ImGui::MenuItem("Arrange windows")) ArrangeWindowsClick();
    NoteLastItem("Arrange windows");
    ImGui::Separator();
    if (ImGui::MenuItem("Exit")) Exit1Click();
    NoteLastItem("Exit");
    ImGui::EndPopup();
}

} // namespace lumidor
