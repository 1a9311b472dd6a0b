#pragma once
// Picking a particle with the mouse: a click asks for the particle drawn nearest to a window pixel, and
// every pass that follows in the same effect pass offers its particles in the view it drew them with.
// Pure: given the views, no GL is needed.

#include "app/debug/screen_view.h"
#include "engine/particle_container.h"

#include <cstdint>

namespace lumidor {

/// How far from the click, in window pixels, a particle may be drawn and still be picked.
inline constexpr float kPickRadius = 48.0f;

/// A click waiting for the effect pass, and the nearest particle found for it so far.
struct TPick {
    bool Pending = false; ///< a click waits; the next effect pass answers it
    float X = 0, Y = 0;   ///< the click, in window pixels
    float BestDistance = 0;
    const TParticleEffectContainer* Best = nullptr; ///< the nearest particle's system; null for none yet
    std::int32_t BestIndex = -1;                    ///< its index in that system
    TScreenView BestView; ///< the view of that system's latest pass, in which it was drawn
};

/// Asks for the particle drawn nearest to window pixel (x, y); replaces a click not yet answered.
void RequestPick(TPick& pick, float x, float y);
/// At the start of an effect pass: a pending click has no candidate yet (only within kPickRadius).
void StartPickSearch(TPick& pick);
/// A pass of `container` drawn in `view`: its particles in front of the camera become the candidate
/// when nearer than every one before. Nothing unless a click is pending.
void ConsiderForPick(TPick& pick, const TParticleEffectContainer& container, const TScreenView& view);

} // namespace lumidor
