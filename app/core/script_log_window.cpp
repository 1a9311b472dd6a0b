#include "app/core/script_log_window.h"

#include "app/core/effect_names.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"
#include "script/script_diagnostics.h"

#include <imgui.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace lumidor {

bool ScriptLogVisible = false;

namespace {

bool bringForward = false;

const ImVec4 WarningColour(1.0f, 0.72f, 0.25f, 1.0f);
const ImVec4 LoadedColour(0.55f, 0.9f, 0.55f, 1.0f);
const ImVec4 NoticeColour(0.95f, 0.88f, 0.35f, 1.0f); // warnings: a load that runs, but may surprise

bool IsErrorLine(std::string_view line) {
    return line.starts_with("Error (Line ") || line.starts_with("Critical Error") ||
           line.ends_with("error(s) detected.") || line == "1 Error detected";
}

/// The problems of the latest load at their places in the file, counted as editors count lines:
/// the errors, then the warnings.
void DrawProblems(const TLiveScript& live) {
    if (live.Diagnostics.empty() && live.Warnings.empty()) {
        if (live.ErrorCount == 0) {
            ImGui::TextColored(LoadedColour, "No problems.");
        } else {
            ImGui::TextColored(WarningColour, "See the debugger log.");
        }
        return;
    }
    if (live.Diagnostics.empty() && live.ErrorCount > 0)
        ImGui::TextColored(WarningColour, "See the debugger log.");
    // Lines wrap so that a long path keeps its message in view. A hostile script's thousands of
    // problems are listed up to a bound that keeps the frame quick; the log keeps them all.
    constexpr std::size_t MaxListed = 500;
    const std::size_t listed = std::min(live.Diagnostics.size(), MaxListed);
    ImGui::PushTextWrapPos(0.0f);
    ImGui::PushStyleColor(ImGuiCol_Text, WarningColour);
    for (std::size_t k = 0; k < listed; ++k) {
        ImGui::TextUnformatted(FormatGccDiagnostic(DisplayFileName(live.File), live.Diagnostics[k]).c_str());
        NoteLastItem("Script log problem " + std::to_string(k) + ": " + live.File);
    }
    ImGui::PopStyleColor();
    if (live.Diagnostics.size() > listed)
        ImGui::Text("%zu more in the debugger log.", live.Diagnostics.size() - listed);
    const std::size_t warnings = std::min(live.Warnings.size(), MaxListed);
    ImGui::PushStyleColor(ImGuiCol_Text, NoticeColour);
    for (std::size_t k = 0; k < warnings; ++k) {
        ImGui::TextUnformatted(FormatGccWarning(live.File, live.Warnings[k]).c_str());
        NoteLastItem("Script log warning " + std::to_string(k) + ": " + live.File);
    }
    ImGui::PopStyleColor();
    if (live.Warnings.size() > warnings) ImGui::Text("%zu more warnings.", live.Warnings.size() - warnings);
    ImGui::PopTextWrapPos();
}

/// The debugger log as the loader wrote it, its own zero-based line numbers included.
void DrawDebuggerLog(const TLiveScript& live) {
    // The log's lines end with a CR; one text line each, errors in the warning colour.
    std::string_view log = live.Log;
    int errorLines = 0;
    while (!log.empty()) {
        const std::size_t end = log.find('\r');
        const std::string line(log.substr(0, end));
        if (IsErrorLine(line)) {
            ImGui::TextColored(WarningColour, "%s", line.c_str());
            NoteLastItem("Script log error " + std::to_string(errorLines++) + ": " + live.File);
        } else {
            ImGui::TextUnformatted(line.empty() ? " " : line.c_str());
        }
        if (end == std::string_view::npos) break;
        log.remove_prefix(end + 1);
    }
}

void DrawEntry(int id, const TLiveScript& live, bool openAtFirst) {
    ImGui::PushID(id);
    const std::string state = LiveScriptStateText(live);
    const std::string label = DisplayFileName(live.File) + "  -  " + state + "###entry";
    const bool open = ImGui::CollapsingHeader(label.c_str(), openAtFirst ? ImGuiTreeNodeFlags_DefaultOpen
                                                                         : ImGuiTreeNodeFlags_None);
    NoteLastItem("Script log: " + live.File);
    if (open) {
        ImGui::TextColored(live.State == TLiveScriptState::Loaded ? LoadedColour : WarningColour, "%s",
                           state.c_str());
        NoteLastItem("Script log state: " + live.File);
        if (ImGui::BeginTabBar("views")) {
            const bool problems = ImGui::BeginTabItem("Problems");
            NoteLastItem("Script log problems: " + live.File);
            if (problems) {
                DrawProblems(live);
                ImGui::EndTabItem();
            }
            const bool debuggerLog = ImGui::BeginTabItem("Debugger log");
            NoteLastItem("Script log debugger log: " + live.File);
            if (debuggerLog) {
                DrawDebuggerLog(live);
                ImGui::EndTabItem();
            }
            ImGui::EndTabBar();
        }
    }
    ImGui::PopID();
}

} // namespace

void ScriptLogClick() {
    ScriptLogVisible = true;
    bringForward = true;
}

void DrawScriptLog() {
    if (!ScriptLogVisible) return;
    ImGui::SetNextWindowPos(ImVec2(40.0f, 60.0f), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(620.0f, 380.0f), ImGuiCond_FirstUseEver);
    PlaceArrangedWindow(TToolWindow::ScriptLog);
    if (bringForward) {
        ImGui::SetNextWindowFocus();
        bringForward = false;
    }
    if (ImGui::Begin("Script log", &ScriptLogVisible, ImGuiWindowFlags_NoSavedSettings)) {
        // The scripts being written come first, newest on top and open; the slot scripts follow,
        // open when their log has errors.
        for (std::size_t k = PlayedScripts.size(); k-- > 0;)
            DrawEntry(int(SlotScriptLives.size() + k), PlayedScripts[k].Live, true);
        for (std::size_t i = 0; i < SlotScriptLives.size(); ++i) {
            const TLiveScript& live = SlotScriptLives[i];
            if (!live.File.empty()) DrawEntry(int(i), live, live.State != TLiveScriptState::Loaded);
        }
    }
    ImGui::End();
}

void DrawRecentScriptsMenu() {
    const bool open = ImGui::BeginMenu("Recent scripts", !PlayedScripts.empty());
    NoteLastItem("Recent scripts");
    if (!open) return;
    for (std::size_t k = 0; k < PlayedScripts.size(); ++k) {
        const std::string& file = PlayedScripts[k].Live.File;
        const int slot = FirstPlayedSlot + int(k);
        if (ImGui::MenuItem((DisplayFileName(file) + "##recent" + std::to_string(k)).c_str(), nullptr,
                            CurrentEffect == slot))
            CurrentEffect = slot;
        NoteLastItem(file);
    }
    ImGui::EndMenu();
}

} // namespace lumidor
