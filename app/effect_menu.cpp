#include "app/effect_menu.h"

#include "app/app_hooks.h"
#include "app/debug_windows.h"
#include "app/effects_startup.h"
#include "app/live_scripts.h"
#include "app/properties_window.h"
#include "app/script_log_window.h"
#include "app/ui_item_rects.h"
#include "effects/effect_slots.h"
#include "effects/effects.h"

#include <imgui.h>

namespace lumidor {

bool DebugMode1Checked = false;

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

void DrawPopupMenu1() {
    // Right-click anywhere on the drawing surface; a right-click on the properties window does not
    // open the main window's menu. The entries are Latin captions and read left to right, check mark
    // first; the "Effects" submenu opens on whichever side of the menu has room.
    if (!ImGui::BeginPopupContextVoid("PopupMenu1", ImGuiPopupFlags_MouseButtonRight)) return;
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
    ImGui::Separator();
    if (ImGui::MenuItem("Debug mode", nullptr, DebugMode1Checked)) DebugMode1Click();
    NoteLastItem("Debug mode");
    if (ImGui::MenuItem("Properties")) Properties1Click();
    NoteLastItem("Properties");
    if (ImGui::MenuItem("Script log")) ScriptLogClick();
    NoteLastItem("Script log");
    if (ImGui::MenuItem("Statistics")) ShowStatisticsWindow();
    NoteLastItem("Statistics");
    ImGui::Separator();
    if (ImGui::MenuItem("Exit")) Exit1Click();
    NoteLastItem("Exit");
    ImGui::EndPopup();
}

} // namespace lumidor
