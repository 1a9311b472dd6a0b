#pragma once
// Following one particle from pass to pass for the inspector: the breakdown of the step it is about to
// take, where it is after the sweep moved (or removed) it, and the mark drawn around it. Pure: given the
// views, no GL is needed.

#include "app/debug/debug_gizmos.h"
#include "app/debug/particle_picking.h"
#include "engine/particle_step_breakdown.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lumidor {

/// The particle the inspector follows.
struct TInspectedParticle {
    const void* Key = nullptr;   ///< its system's address: compared with the passes, never dereferenced
    std::string System;          ///< the system's name
    std::int32_t Index = -1;     ///< where it is in its system now (where it was last, once gone)
    std::int32_t Slot = -1;      ///< the effect running when it was picked; another one ends its inspection
    bool Gone = false;           ///< it died (or could no longer be found)
    bool Running = false;        ///< its system ran in the last frame (it is frozen otherwise)
    TParticle Record;            ///< as its system's last pass left it
    TParticleStepBreakdown Step; ///< the step just taken; Step.Index -1 before the first
    bool StepSeen = false;       ///< Step holds a step (the particle has been through a pass since selected)
    TScreenView View;            ///< how its system was drawn in the last pass
    bool AlphaKeyed = false;     ///< its system has alpha keys, which multiply the fading opacity
    TLifeSample Life;            ///< what its system's curves draw for Record (nothing without curves)
};

/// The particle a pick found (pick.Best must be set), named `system`, picked while effect `slot` ran;
/// its system ran in this effect pass.
TInspectedParticle InspectPickedParticle(const TPick& pick, const std::string& system, int slot);

/// The particle lives in `container` (its system, and it is not gone).
bool LivesIn(const TInspectedParticle& inspected, const TParticleEffectContainer& container);

/// Before a pass of `container` over `dt` seconds: its system runs, and a particle living there has the
/// step it is about to take broken down (for this one particle only, before the sweep moves it).
void InspectBeforePass(TInspectedParticle& inspected, const TParticleEffectContainer& container, float dt);
/// After a pass of the particle's system drawn in `view`: where the step took it, or gone.
void InspectAfterPass(TInspectedParticle& inspected, const TParticleEffectContainer& container,
                      const TScreenView& view);

/// A pass that only draws the particle's system as it stands, whose particles are put back afterwards
/// (a paused frame): its system runs and the mark follows the view; the record and the step last
/// taken stay, since nothing moved.
void InspectStillPass(TInspectedParticle& inspected, const TParticleEffectContainer& container,
                      const TScreenView& view);

/// The opacity the particle is drawn with: its fading opacity times its system's alpha keys.
float DrawnOpacity(const TInspectedParticle& inspected);
/// The inspector's opacity line: "Opacity drawn 0.840 = fading 1.000 x alpha keys 0.840", or
/// "Opacity drawn 0.500 (fading; no alpha keys)".
std::string OpacityText(const TInspectedParticle& inspected);

/// The mark around the particle where it was last drawn: two squares a pixel apart, so it stands out
/// among the debug lines. Nothing for a particle gone, of a system that did not run in the last frame,
/// or never drawn.
void AddInspectionMark(std::vector<TScreenLine>& lines, const TInspectedParticle& inspected);

} // namespace lumidor
