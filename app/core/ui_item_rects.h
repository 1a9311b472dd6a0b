#pragma once
// Where the UI drew its labelled items in the latest frame that showed them, in window pixels. The
// menu and the properties window note their entries here so that scripted runs and tests can aim
// mouse events at them the way a user would.

#include <optional>
#include <string>

namespace lumidor {

/// A screen rectangle noted in UI frame Frame (ImGui's frame count).
struct TItemRect {
    float X0 = 0.0f, Y0 = 0.0f, X1 = 0.0f, Y1 = 0.0f;
    int Frame = 0;
    float CentreX() const { return 0.5f * (X0 + X1); }
    float CentreY() const { return 0.5f * (Y0 + Y1); }
};

/// Notes ImGui's last submitted item under `name`; call right after submitting it.
void NoteLastItem(const std::string& name);
/// The rectangle noted for `name` in the latest frame that drew it; empty if never drawn.
std::optional<TItemRect> FindItemRect(const std::string& name);
/// True when `name` was drawn in the current (or, between frames, the last) UI frame.
bool ItemShownInLastFrame(const std::string& name);

} // namespace lumidor
