// The presets' restart and still pictures (preset_timeline.h); what each slot draws when paused is the
// slot table's (effect_slots.cpp), beside the procedure it runs.

#include "effects/preset_timeline.h"

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/text_effect.h"

#include <utility>

namespace lumidor {

TPresetTimeline PresetTimeline(int slot) {
    if (slot < 0 || slot >= EffectSlotCount) return {false, "not an effect slot"};
    return {true, ""};
}

void RestartPresets() {
    for (TParticleEffectContainer* container :
         {&FloorEffect, &AdditiveEffect, &TerrainEffect, &TextFont.Effect}) {
        container->Particles.clear();
        container->Events.Deaths.clear();
        container->Events.Bounces.clear();
    }
    EffectTimer = 0.0f;
    MagnetId = 0;
    RocketDirection = TRocketDirection{};
    RocketPosition = TVector3{};
    RocketExploded = false;
}

void DrawContainerStill(TParticleEffectContainer& container) {
    DrawParticlesStill(container);
}

bool DrawPresetStill(int slot) {
    if (slot < 0 || slot >= EffectSlotCount) return false;
    const TStillScene scene = StillSceneOf(slot);
    if (scene.View) scene.View();
    for (TParticleEffectContainer* container : {scene.First, scene.Second})
        if (container) DrawContainerStill(*container);
    return true;
}

} // namespace lumidor
