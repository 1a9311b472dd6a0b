// The effect slots of the demo's menu and the dispatch of one frame to the selected effect.

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/text_effect.h"

namespace lumidor {

const std::array<TEffectSlot, EffectSlotCount> EffectMenu = {{
    {"Fire (300)", 0},          {"Smoke 1 (200)", 14},
    {"Smoke 2 (200)", 1},       {"Explosion (116)", 2},
    {"Burner (400)", 3},        {"Magic water (830)", 4},
    {"Spiral 1 (800)", 5},      {"Spiral 2 (800)", 6},
    {"Spiral 3 (800)", 15},     {"Aflamed Magnesium (41 - 46)", 7},
    {"Effect 1 (2200)", 8},     {"Effect 2 (2000)", 9},
    {"Stresstest (10000)", 10}, {"Script 1 (3000)", 11},
    {"Script 2 (3000)", 12},    {"Stresstest Script (20000)", 13},
    {"Snow (10000)", 16},       {"Text (~6000)", 17},
    {"Firework", 18},
}};

namespace {

using TPresetProcedure = void (*)();

// The built-in procedure of every slot; the script slots 11 to 13 have none of their own.
// clang-format off
constexpr std::array<TPresetProcedure, EffectSlotCount> SlotPresets = {
    &FirePreset,       &Smoke2Preset,  &ExplosionPreset,        &BurnerPreset,  &MagicWaterPreset, //  0 -  4
    &Spiral1Preset,    &Spiral2Preset, &AflamedMagnesiumPreset, &Effect1Preset, &Effect2Preset,    //  5 -  9
    &StressTestPreset, nullptr,        nullptr,                 nullptr,        &Smoke1Preset,     // 10 - 14
    &Spiral3Preset,    &SnowPreset,    &TextPreset,             &FireworkPreset};                  // 15 - 18
// clang-format on

} // namespace

bool RunEffectSlot(int slot, const TEffectCallbacks& callbacks) {
    if (slot < 0 || slot >= EffectSlotCount) return false;
    if (slot >= 11 && slot <= 13) {
        // The third script runs over a floor of its own.
        if (slot == 13) ScriptFloorPreset();
        if (callbacks.AdvanceScript) callbacks.AdvanceScript(slot - 11);
        return true;
    }
    SlotPresets[std::size_t(slot)]();
    return true;
}

const char* EffectSlotCaption(int slot) {
    for (const TEffectSlot& entry : EffectMenu) {
        if (entry.Slot == slot) return entry.Caption;
    }
    return "";
}

} // namespace lumidor
