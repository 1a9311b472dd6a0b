#pragma once
// The built-in effects on a timeline: starting them again from nothing, and drawing them as they stand
// without moving a particle (a paused demo still draws every frame).
//
// Every preset keeps its whole state in the shared systems (FloorEffect, AdditiveEffect, TerrainEffect,
// TextFont's particles) and the shared globals (EffectTimer, the firework's rocket, MagnetId); its
// settings (atlas, blending, floor, friction, wind) are made at start-up or every frame. So clearing
// those particles and globals is a clean start for each of them, and with the random generator seeded
// the same frames of the same length give the same particles: every preset restarts and seeks. The
// script slots (11 to 13) are scripts: their runtime restarts and seeks them.

namespace lumidor {

struct TParticleEffectContainer;

/// Whether the preset of `slot` can be restarted and seeked, and if not, why.
struct TPresetTimeline {
    bool CanSeek = false;    ///< restart and seek give the same particles for the same seed
    const char* Reason = ""; ///< shown beside a disabled seek slider; empty when CanSeek
};

/// The timeline abilities of slot 0 .. 18 (for the script slots 11 to 13: none of the preset's own,
/// their script seeks); a slot outside 0 .. 18 cannot seek.
TPresetTimeline PresetTimeline(int slot);

/// Removes every particle (and reported event) of the shared systems and the text, and returns
/// EffectTimer, the firework's rocket and MagnetId to their start-up values. Settings stay. The random
/// generator is not touched.
void RestartPresets();

/// Draws `slot`'s systems as they stand, in the order and under the view its preset draws them, and
/// leaves every particle as it was: nothing moves, is born or dies, and no random number is drawn.
/// Script slots draw their floor (slot 13) only: the host draws their scripts. False for other slots.
bool DrawPresetStill(int slot);

/// Draws `container` as a pass with no time passing would, leaving its particles and events exactly
/// as they are (DrawParticlesStill: even a pass of no time would reflect a particle resting on the
/// ground).
void DrawContainerStill(TParticleEffectContainer& container);

} // namespace lumidor
