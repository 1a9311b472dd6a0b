// What the caption and the windows call the effect and its systems.

#include "app/core/caption.h"
#include "app/core/debug_tools.h"
#include "app/core/effect_names.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"

#include <gtest/gtest.h>

#include <string>

using namespace lumidor;

namespace {

// Leaves the scripts and the current effect as a fresh start has them.
struct TCleanScripts {
    TCleanScripts() { Reset(); }
    ~TCleanScripts() { Reset(); }
    static void Reset() {
        PlayedScripts.clear();
        for (TParticleScript& script : Scripts)
            script = {};
        for (TLiveScript& live : SlotScriptLives)
            live = {};
        CurrentEffect = 0;
    }
};

TPlayedScript& Play(const std::string& file, std::size_t types) {
    TPlayedScript& played = PlayedScripts.emplace_back();
    played.Live.File = file;
    played.Script.Containers.resize(types);
    return played;
}

} // namespace

TEST(EffectNames, FileNamesAreShownWithSlashesAndShortenedToTheirLastPart) {
    const struct {
        const char* File;
        const char* Shown;
        const char* Short;
    } cases[] = {
        {".\\scripts\\ParticleScript1.psc", "./scripts/ParticleScript1.psc", "ParticleScript1.psc"},
        {"scripts/examples/fountain.psc", "scripts/examples/fountain.psc", "fountain.psc"},
        {"C:\\effects/mixed\\spark.psc", "C:/effects/mixed/spark.psc", "spark.psc"},
        {"fountain.psc", "fountain.psc", "fountain.psc"},
        {"/tmp/", "/tmp/", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayFileName(c.File), c.Shown) << c.File;
        EXPECT_EQ(ShortFileName(c.File), c.Short) << c.File;
    }
}

TEST(EffectNames, EffectsAreNamedByMenuCaptionOrPlayedScriptFile) {
    TCleanScripts clean;
    Play("scripts\\examples\\fountain.psc", 1);
    Play("/home/author/spark.psc", 1);
    const struct {
        int Slot;
        const char* Name;
    } cases[] = {
        {0, "Fire (300)"},
        {14, "Smoke 1 (200)"},
        {1, "Smoke 2 (200)"},
        {11, "Script 1 (3000)"},
        {13, "Stresstest Script (20000)"},
        {18, "Firework"},
        {FirstPlayedSlot, "fountain.psc"},
        {FirstPlayedSlot + 1, "spark.psc"},
        {FirstPlayedSlot + 2, ""},
        {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EffectName(c.Slot), c.Name) << c.Slot;
}

TEST(EffectNames, ScriptSystemsAreNamedByZeroBasedTypeWhereverTheScriptComesFrom) {
    TCleanScripts clean;
    Scripts[0].Containers.resize(2);
    Scripts[2].Containers.resize(1);
    TPlayedScript& fountain = Play("scripts/examples/fountain.psc", 3);
    fountain.Live.Retired.emplace_back().Script.Containers.resize(2); // an earlier version dying out
    TParticleEffectContainer unknown;
    const struct {
        const TParticleEffectContainer* Container;
        const char* Name;
    } cases[] = {
        {&Scripts[0].Containers[0], "type 0"},
        {&Scripts[0].Containers[1], "type 1"},
        {&Scripts[2].Containers[0], "type 0"},
        {&fountain.Script.Containers[2], "type 2"},
        {&fountain.Live.Retired[0].Script.Containers[1], "type 1 (earlier version)"},
        {&unknown, "System"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemName(*c.Container), c.Name);
    EXPECT_EQ(ScriptSystemName(10), "type 10");
}

TEST(EffectNames, TheCaptionNamesTheEffectAfterTheRateAndBeforeTheTimelinesWork) {
    const std::string rate = CaptionText(60.0f, ".");
    const struct {
        const char* Effect;
        const char* Work;
        const char* Caption;
    } cases[] = {
        {"Fire (300)", "", "Lumidor Particle Engine demonstration - 60 FPS - Fire (300)"},
        {"fountain.psc", "Prewarming 40 %",
         "Lumidor Particle Engine demonstration - 60 FPS - fountain.psc - Prewarming 40 %"},
        {"", "Seeking 12.5 s of 60 s",
         "Lumidor Particle Engine demonstration - 60 FPS - Seeking 12.5 s of 60 s"},
        {"", "", "Lumidor Particle Engine demonstration - 60 FPS"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CaptionWithStatus(rate, JoinCaptionStatus(c.Effect, c.Work)), c.Caption);

    TCleanScripts clean;
    EXPECT_EQ(CaptionStatusText(), "Fire (300)");
    Play("scripts/examples/fountain.psc", 1);
    CurrentEffect = FirstPlayedSlot;
    EXPECT_EQ(CaptionStatusText(), "fountain.psc");
}
