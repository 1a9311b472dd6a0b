// The effect slots of the demo's menu and the dispatch of one frame to the selected effect.

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "effects/text_effect.h"

namespace lumidor {

const std::array<TEffectSlot, EffectSlotCount> EffectMenu = {{
    {"Fire (300)", 0},
    {"Smoke 1 (200)", 14},
    {"Smoke 2 (200)", 1},
    {"Explosion (116)", 2},
    {"Burner (400)", 3},
    {"Magic water (830)", 4},
    {"Spiral 1 (800)", 5},
    {"Spiral 2 (800)", 6},
    {"Spiral 3 (800)", 15},
    {"Aflamed Magnesium (41 - 46)", 7},
    {"Effect 1 (2200)", 8},
    {"Effect 2 (2000)", 9},
    {"Stresstest (10000)", 10},
    {"Script 1 (3000)", 11},
    {"Script 2 (3000)", 12},
    {"Stresstest Script (20000)", 13},
    {"Snow (10000)", 16},
    {"Text (~6000)", 17},
    {"Firework", 18},
}};

namespace {

void RunScript(const TEffectCallbacks& callbacks, int scriptIndex) {
    if (callbacks.AdvanceScript) callbacks.AdvanceScript(scriptIndex);
}

} // namespace

bool RunEffectSlot(int slot, const TEffectCallbacks& callbacks) {
    switch (slot) {
    case 0: FirePreset(); return true;
    case 1: Smoke2Preset(); return true;
    case 2: ExplosionPreset(); return true;
    case 3: BurnerPreset(); return true;
    case 4: MagicWaterPreset(); return true;
    case 5: Spiral1Preset(); return true;
    case 6: Spiral2Preset(); return true;
    case 7: AflamedMagnesiumPreset(); return true;
    case 8: Effect1Preset(); return true;
    case 9: Effect2Preset(); return true;
    case 10: StressTestPreset(); return true;
    case 11: RunScript(callbacks, 0); return true;
    case 12: RunScript(callbacks, 1); return true;
    case 13:
        ScriptFloorPreset();
        RunScript(callbacks, 2);
        return true;
    case 14: Smoke1Preset(); return true;
    case 15: Spiral3Preset(); return true;
    case 16: SnowPreset(); return true;
    case 17: TextPreset(); return true;
    case 18: FireworkPreset(); return true;
    default: return false;
    }
}

const char* EffectSlotCaption(int slot) {
    for (const TEffectSlot& entry : EffectMenu) {
        if (entry.Slot == slot) return entry.Caption;
    }
    return "";
}

} // namespace lumidor
