// What the caption and the windows call the effect and its systems.

#include "app/core/caption.h"
#include "app/core/debug_tools.h"
#include "app/core/effect_names.h"
#include "app/core/effects_startup.h"
#include "app/core/live_scripts.h"
#include "effects/effects.h"

#include <gtest/gtest.h>

using namespace lumidor;

namespace {

// Scripts and the current effect as a fresh start has them, before and after a test.
struct TCleanScripts {
    TCleanScripts() { Reset(); }
    ~TCleanScripts() { Reset(); }
    static void Reset() {
        PlayedScripts.clear();
        Scripts = {};
        SlotScriptLives = {};
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
        const char *File, *Shown, *Short;
    } cases[] = {
        {".\\scripts\\ParticleScript1.psc", "./scripts/ParticleScript1.psc", "ParticleScript1.psc"},
        {"scripts/examples/fountain.psc", "scripts/examples/fountain.psc", "fountain.psc"},
        {"C:\\effects/mixed\\spark.psc", "C:/effects/mixed/spark.psc", "spark.psc"},
        {"fountain.psc", "fountain.psc", "fountain.psc"},
        {"/tmp/", "/tmp/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayFileName(c.File), c.Shown) << c.File;
        EXPECT_EQ(ShortFileName(c.File), c.Short) << c.File;
    }
}

TEST(EffectNames, EffectsByMenuCaptionOrFileAndScriptSystemsByZeroBasedType) {
    TCleanScripts clean;
    Scripts[0].Containers.resize(2);
    TPlayedScript& fountain = Play("scripts\\examples\\fountain.psc", 3);
    fountain.Live.Retired.emplace_back().Script.Containers.resize(2); // an earlier version dying out
    Play("/home/author/spark.psc", 1);
    const struct {
        int Slot;
        const char* Name;
    } effects[] = {{0, "Fire (300)"},
                   {14, "Smoke 1 (200)"},
                   {11, "Script 1 (3000)"},
                   {18, "Firework"},
                   {FirstPlayedSlot, "fountain.psc"},
                   {FirstPlayedSlot + 1, "spark.psc"},
                   {FirstPlayedSlot + 2, ""},
                   {-1, ""}};
    for (const auto& c : effects)
        EXPECT_EQ(EffectName(c.Slot), c.Name) << c.Slot;

    TParticleEffectContainer unknown;
    const struct {
        const TParticleEffectContainer* Container;
        const char* Name;
    } systems[] = {{&Scripts[0].Containers[1], "type 1"},
                   {&fountain.Script.Containers[0], "type 0"},
                   {&fountain.Script.Containers[2], "type 2"},
                   {&fountain.Live.Retired[0].Script.Containers[1], "type 1 (earlier version)"},
                   {&FloorEffect, "FloorEffect"},
                   {&unknown, "System"}};
    for (const auto& c : systems)
        EXPECT_EQ(SystemName(*c.Container), c.Name);
}

TEST(EffectNames, TheCaptionNamesTheEffectAfterTheRateAndBeforeTheTimelinesWork) {
    const std::string rate = CaptionText(60.0f, ".");
    const struct {
        const char *Effect, *Work, *Caption;
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
