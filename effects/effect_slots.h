#pragma once
// The nineteen effect slots the demo's menu offers: sixteen built-in effects and three scripts
// that the application owns and runs through a callback. One table says, per slot, what a frame runs
// and what a paused frame draws, so the two never disagree.

#include <array>
#include <cstdint>
#include <functional>

namespace lumidor {

struct TParticleEffectContainer;

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

/// What a slot draws while its effect stands still, in the order and under the view its procedure
/// draws them: the view set up first, then up to two systems. A script's own systems are not here:
/// its host draws them.
struct TStillScene {
    void (*View)() = nullptr;                   ///< sets up the procedure's view (and scenery); null: none
    TParticleEffectContainer* First = nullptr;  ///< drawn first; null: none
    TParticleEffectContainer* Second = nullptr; ///< drawn after First; null: none
};

/// Runs one frame of `slot` (0..18): a preset procedure, the text, or a script through the
/// callback. Returns false and draws nothing for any other slot value.
bool RunEffectSlot(int slot, const TEffectCallbacks& callbacks);

/// What `slot` (0..18) draws while paused; an empty scene for any other slot value.
TStillScene StillSceneOf(int slot);

/// Caption of `slot` ("Fire (300)" for 0); empty for a slot outside 0..18.
const char* EffectSlotCaption(int slot);

} // namespace lumidor
