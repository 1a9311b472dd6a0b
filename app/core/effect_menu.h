#pragma once
// PopupMenu1, the main window's right-click menu: the effect entries, the example scripts, the debug view,
// the tool windows (DemoWindows) with "Arrange windows", and Exit. The handlers are plain functions;
// DrawPopupMenu1 shows the menu.

namespace lumidor {

/// Check mark of "Debug mode": the shared systems' debug flag after the last click; off at start.
extern bool DebugMode1Checked;

/// An "Effects" entry: stores `slot` in CurrentEffect and nothing else (no reset, no restart).
void SelectEffect(int slot);
/// "Debug mode": toggles the debug view of the three shared systems (the check mark follows the
/// first), sets their debug scale to 0.2 and toggles the debug view of the three scripts and of
/// every played script.
void DebugMode1Click();
/// "Properties": shows the properties window, or brings it forward when shown.
void Properties1Click();
/// "Exit": asks the host to end the program (RequestClose).
void Exit1Click();

/// Asks the host to end its frames after the current one, as closing its window does.
void RequestClose();
/// True once after RequestClose (the hooks' TakeCloseRequest): the request is taken with the answer.
bool TakeCloseRequest();

/// Opens PopupMenu1 on a right-click on the drawing surface (not on another UI window) and draws
/// it while open; call once per UI frame.
void DrawPopupMenu1();

} // namespace lumidor
