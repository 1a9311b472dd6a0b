// The presets' restart and still pictures (preset_timeline.h): one table of what each slot draws.

#include "effects/preset_timeline.h"

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/preset_helpers.h"
#include "effects/text_effect.h"

#include <array>
#include <utility>

namespace lumidor {

namespace {

/// What a preset draws, in its order: a view set up first (null for none), then up to two systems.
struct TStillScene {
    void (*View)();
    TParticleEffectContainer* First;
    TParticleEffectContainer* Second;
};

void ScriptFloorView() {
    ScriptFloorPreset();
}

TStillScene SceneOf(int slot) {
    TParticleEffectContainer* floor = &FloorEffect;
    TParticleEffectContainer* additive = &AdditiveEffect;
    switch (slot) {
    case 0:  // Fire
    case 7:  // Aflamed Magnesium
    case 18: // Firework
        return {nullptr, floor, additive};
    case 1:  // Smoke 2
    case 2:  // Explosion
    case 3:  // Burner
    case 14: // Smoke 1
    case 16: // Snow
        return {nullptr, floor, nullptr};
    case 4: // Magic water
        return {nullptr, additive, floor};
    case 5: // the three spirals
    case 6:
    case 15:
        return {nullptr, additive, nullptr};
    case 8:
        return {&presets::Effect1View, floor, additive};
    case 9:
        return {&presets::Effect2View, floor, nullptr};
    case 10:
        return {&presets::StressTestScene, &TerrainEffect, nullptr};
    case 13:
        return {&ScriptFloorView, nullptr, nullptr};
    case 17:
        return {nullptr, &TextFont.Effect, nullptr};
    default:
        return {nullptr, nullptr, nullptr};
    }
}

} // namespace

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
    const TStillScene scene = SceneOf(slot);
    if (scene.View) scene.View();
    for (TParticleEffectContainer* container : {scene.First, scene.Second})
        if (container) DrawContainerStill(*container);
    return true;
}

} // namespace lumidor
