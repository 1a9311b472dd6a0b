#pragma once
// The nineteen effect slots the demo's menu offers: sixteen built-in effects and three scripts
// that the application owns and runs through a callback.

#include <array>
#include <cstdint>
#include <functional>

namespace lumidor {

/// Number of effect slots; valid slots are 0 .. EffectSlotCount - 1.
inline constexpr int EffectSlotCount = 19;

/// One entry of the "Effects" menu.
struct TEffectSlot {
    const char* Caption; ///< menu caption, e.g. "Fire (300)"
    int Slot;            ///< the slot number the entry selects (not the menu position)
};

/// The entries in menu order (top to bottom); the slot numbers do not follow that order.
extern const std::array<TEffectSlot, EffectSlotCount> EffectMenu;

/// What RunEffectSlot needs from the application.
struct TEffectCallbacks {
    /// Runs one frame of loaded script 0, 1 or 2 (slots 11, 12, 13) at (0, 0, 0) with FrameTime;
    /// empty: script slots draw nothing (the floor of slot 13 is still drawn).
    std::function<void(int scriptIndex)> AdvanceScript;
};

/// Runs one frame of `slot` (0..18): a preset procedure, the text, or a script through the
/// callback. Returns false and draws nothing for any other slot value.
bool RunEffectSlot(int slot, const TEffectCallbacks& callbacks);

/// Caption of `slot` ("Fire (300)" for 0); empty for a slot outside 0..18.
const char* EffectSlotCaption(int slot);

} // namespace lumidor
