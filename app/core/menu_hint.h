#pragma once
// "right-click for the menu": a line near the bottom of the picture that tells a person at the window
// where the menu is, from the first frame until the menu first opens. Only in an interactive run (the
// runs whose timeline work is spread over frames); runs of a fixed number of frames, recordings,
// benchmarks and soaks never show it, so their pictures stay as they are.

namespace lumidor {

/// The hint's text.
inline constexpr const char* MenuHintText = "right-click for the menu";

/// Whether the hint shows: in an interactive run, until the menu has been opened once.
bool MenuHintShown(bool interactiveRun, bool menuOpenedBefore);

/// True once PopupMenu1 has opened in this run.
extern bool MenuOpenedOnce;

/// Draws the hint, centred near the bottom of the viewport behind every window, while MenuHintShown
/// holds for this run (TimelineWorkBudgetMs > 0 marks an interactive one); call once per UI frame.
void DrawMenuHint();

} // namespace lumidor
