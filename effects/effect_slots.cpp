// The effect slots of the demo's menu and the dispatch of one frame to the selected effect.

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/preset_helpers.h"
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

/// One slot: the procedure a frame runs, the loaded script it then advances, and what it draws paused.
struct TSlotEntry {
    void (*Procedure)(); ///< the built-in procedure; null for the first two scripts, which have none
    int Script;          ///< the script advanced after the procedure (0 .. 2); -1 for the presets
    TStillScene Still;
};

constexpr TParticleEffectContainer* Floor = &FloorEffect;
constexpr TParticleEffectContainer* Additive = &AdditiveEffect;

// clang-format off
constexpr std::array<TSlotEntry, EffectSlotCount> Slots = {{
    /*  0 */ {&FirePreset,             -1, {nullptr, Floor, Additive}},
    /*  1 */ {&Smoke2Preset,           -1, {nullptr, Floor, nullptr}},
    /*  2 */ {&ExplosionPreset,        -1, {nullptr, Floor, nullptr}},
    /*  3 */ {&BurnerPreset,           -1, {nullptr, Floor, nullptr}},
    /*  4 */ {&MagicWaterPreset,       -1, {nullptr, Additive, Floor}},
    /*  5 */ {&Spiral1Preset,          -1, {nullptr, Additive, nullptr}},
    /*  6 */ {&Spiral2Preset,          -1, {nullptr, Additive, nullptr}},
    /*  7 */ {&AflamedMagnesiumPreset, -1, {nullptr, Floor, Additive}},
    /*  8 */ {&Effect1Preset,          -1, {&presets::Effect1View, Floor, Additive}},
    /*  9 */ {&Effect2Preset,          -1, {&presets::Effect2View, Floor, nullptr}},
    /* 10 */ {&StressTestPreset,       -1, {&presets::StressTestScene, &TerrainEffect, nullptr}},
    /* 11 */ {nullptr,                  0, {}},
    /* 12 */ {nullptr,                  1, {}},
    /* 13 */ {&ScriptFloorPreset,       2, {&ScriptFloorPreset, nullptr, nullptr}}, // a floor of its own
    /* 14 */ {&Smoke1Preset,           -1, {nullptr, Floor, nullptr}},
    /* 15 */ {&Spiral3Preset,          -1, {nullptr, Additive, nullptr}},
    /* 16 */ {&SnowPreset,             -1, {nullptr, Floor, nullptr}},
    /* 17 */ {&TextPreset,             -1, {nullptr, &TextFont.Effect, nullptr}},
    /* 18 */ {&FireworkPreset,         -1, {nullptr, Floor, Additive}},
}};
// clang-format on

} // namespace

bool RunEffectSlot(int slot, const TEffectCallbacks& callbacks) {
    if (slot < 0 || slot >= EffectSlotCount) return false;
    const TSlotEntry& entry = Slots[std::size_t(slot)];
    if (entry.Procedure) entry.Procedure();
    if (entry.Script >= 0 && callbacks.AdvanceScript) callbacks.AdvanceScript(entry.Script);
    return true;
}

TStillScene StillSceneOf(int slot) {
    if (slot < 0 || slot >= EffectSlotCount) return {};
    return Slots[std::size_t(slot)].Still;
}

const char* EffectSlotCaption(int slot) {
    for (const TEffectSlot& entry : EffectMenu) {
        if (entry.Slot == slot) return entry.Caption;
    }
    return "";
}

} // namespace lumidor
