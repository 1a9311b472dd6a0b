#pragma once
// The "Script log" window and the "Recent scripts" submenu: every script the demo plays (the three
// slot scripts and the played ones) with its file, its state, its problems at their places in the
// file ("FILE:LINE:COLUMN", as editors count) and, one tab away, its debugger log as the loader wrote it.

namespace lumidor {

/// The window is shown; the menu entry "Script log" sets it, its close box clears it.
extern bool ScriptLogVisible;

/// "Script log": shows the window (and brings it forward when shown).
void ScriptLogClick();

/// Draws the window when visible; call once per UI frame. Updates with every reload.
void DrawScriptLog();

/// The "Recent scripts" submenu of "Effects": one entry per played script, selecting it. Call
/// inside the open "Effects" menu.
void DrawRecentScriptsMenu();

} // namespace lumidor
