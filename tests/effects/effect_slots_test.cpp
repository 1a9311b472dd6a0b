// The slot table: what a paused slot draws is what its running procedure draws, system for system
// and in the same order, for every slot of the menu.

#include "effects/effect_slots.h"
#include "effects/preset_timeline.h"
#include "effects/text_effect.h"
#include "effects_fixture.h"
#include "engine/pass_observer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace lumidor;

namespace {

// The systems passed through UpdateAndDraw since the last clear, each once, in the order of their
// first pass.
std::vector<const TParticleEffectContainer*> Passed;

void NotePass(TParticleEffectContainer& container, float, void*) {
    if (std::find(Passed.begin(), Passed.end(), &container) == Passed.end()) Passed.push_back(&container);
}

std::vector<const TParticleEffectContainer*> StillSystems(int slot) {
    std::vector<const TParticleEffectContainer*> systems;
    for (const TParticleEffectContainer* container : {StillSceneOf(slot).First, StillSceneOf(slot).Second})
        if (container) systems.push_back(container);
    return systems;
}

// `part` is `whole` with some entries left out.
bool InOrderWithin(const std::vector<const TParticleEffectContainer*>& part,
                   const std::vector<const TParticleEffectContainer*>& whole) {
    auto next = whole.begin();
    for (const TParticleEffectContainer* container : part) {
        next = std::find(next, whole.end(), container);
        if (next == whole.end()) return false;
        ++next;
    }
    return true;
}

class StillScenes : public lumidor::testing::EffectsTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        EffectsTest::SetUp();
        TPassObserver observer;
        observer.BeforePass = &NotePass;
        SetPassObserver(&observer);
    }
    void TearDown() override {
        SetPassObserver(nullptr);
        EffectsTest::TearDown();
    }
};

using SlotTable = lumidor::testing::EffectsTest;

} // namespace

TEST_P(StillScenes, APausedSlotDrawsTheSystemsItsProcedureRunsInTheirOrder) {
    const int slot = GetParam();
    const std::vector<const TParticleEffectContainer*> still = StillSystems(slot);
    FrameTime = 0.025f; // 3.75 s: past the explosion at 2 s and the firework's burst
    std::vector<const TParticleEffectContainer*> everyFrame;
    for (int frame = 0; frame < 150; ++frame) {
        Passed.clear();
        ASSERT_TRUE(RunEffectSlot(slot, {}));
        EXPECT_TRUE(InOrderWithin(Passed, still)) << "slot " << slot << ", frame " << frame;
        for (const TParticleEffectContainer* container : Passed)
            if (std::find(everyFrame.begin(), everyFrame.end(), container) == everyFrame.end())
                everyFrame.push_back(container);
    }
    EXPECT_EQ(everyFrame.size(), still.size()) << "slot " << slot << " draws a system paused it never runs";

    Passed.clear();
    ASSERT_TRUE(DrawPresetStill(slot));
    EXPECT_EQ(Passed, still);
}

INSTANTIATE_TEST_SUITE_P(EverySlot, StillScenes, ::testing::Range(0, EffectSlotCount));

TEST_F(SlotTable, SlotsOutsideTheMenuRunAndDrawNothing) {
    for (const int slot : {-1, EffectSlotCount, 1000}) {
        EXPECT_FALSE(RunEffectSlot(slot, {}));
        EXPECT_FALSE(DrawPresetStill(slot));
        EXPECT_EQ(StillSceneOf(slot).View, nullptr);
        EXPECT_EQ(StillSceneOf(slot).First, nullptr);
    }
    // The scripts come through the callback, the third over its own floor.
    std::vector<int> advanced;
    const TEffectCallbacks callbacks{[&advanced](int script) { advanced.push_back(script); }};
    for (const int slot : {11, 12, 13})
        EXPECT_TRUE(RunEffectSlot(slot, callbacks));
    EXPECT_EQ(advanced, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(StillSceneOf(13).View, &ScriptFloorPreset);
    EXPECT_EQ(StillSceneOf(11).View, nullptr);
}
