// The "Timeline" window and the "Examples" submenu driven as a user drives them, in the demo's real
// window on Mesa: pause freezes the picture while frames go on, the right arrow steps it, space runs it
// again, the Time slider seeks; an example plays from the submenu and seeks like any script.

#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "app/core/effects_startup.h"
#include "app/core/example_scripts.h"
#include "app/core/live_scripts.h"
#include "app/core/timeline_control.h"
#include "app/core/timeline_window.h"
#include "app/core/ui_item_rects.h"
#include "demo_window_fixture.h"
#include "effects/effects.h"
#include "png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace lumidor;

namespace {

class TimelineGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Timeline = TTimeline{};
        StartDemo();
    }
    void TearDown() override {
        Timeline = TTimeline{};
        TimelineVisible = false;
        DemoWindowTest::TearDown();
    }
    /// Opens PopupMenu1 on the drawing surface, opens `submenu` when given, and clicks `entry`.
    void Choose(const std::string& entry, const std::string& submenu = "") {
        Click(560, 250, SDL_BUTTON_RIGHT); // clear of the Timeline window
        ASSERT_TRUE(WaitFor("Effects")) << "PopupMenu1 did not open";
        if (!submenu.empty()) {
            // By way of an entry below it: a pointer moving down from "Effects" would be taken as heading
            // into that open submenu.
            const TItemRect debug = *FindItemRect("Debug mode");
            Push(SDL_MOUSEMOTION, debug.CentreX(), debug.CentreY());
            RunFrames(2);
            const TItemRect rect = *FindItemRect(submenu);
            Push(SDL_MOUSEMOTION, rect.CentreX(), rect.CentreY());
            RunFrames(2);
        }
        ClickItem(entry);
    }
    /// Pixels that differ between two pictures, in the scene's part above the Timeline window.
    static int SceneDifference(const lumidor::testing::TPngPicture& a,
                               const lumidor::testing::TPngPicture& b) {
        int differing = 0;
        for (int y = 110; y < 400; ++y)
            for (int x = 0; x < a.Width; ++x) {
                const std::uint8_t* p = a.At(x, y);
                const std::uint8_t* q = b.At(x, y);
                differing += p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
            }
        return differing;
    }
};

} // namespace

TEST_F(TimelineGL, PauseStepSpaceAndTheTimeSliderFromTheTimelineWindow) {
    SelectEffect(0); // Fire: every frame moves its flames
    RunFrames(30);
    Choose("Timeline");
    ASSERT_TRUE(TimelineVisible);
    ASSERT_TRUE(WaitFor("Timeline pause"));
    RunFrames(3); // the window settles inside the drawing surface before its items are aimed at
    const lumidor::testing::TPngPicture running1 = Picture("timeline_window.png");
    const lumidor::testing::TPngPicture running2 = Picture();
    EXPECT_GT(SceneDifference(running1, running2), 200) << "a running fire changes every frame";

    ClickItem("Timeline pause");
    ASSERT_TRUE(Timeline.Paused);
    const int flames = ParticleCount(FloorEffect);
    const lumidor::testing::TPngPicture paused1 = Picture();
    RunFrames(5);
    const lumidor::testing::TPngPicture paused2 = Picture("timeline_paused.png");
    EXPECT_EQ(SceneDifference(paused1, paused2), 0) << "paused: drawn every frame, the same picture";
    EXPECT_EQ(ParticleCount(FloorEffect), flames);

    // The right arrow (the Timeline window keeps no keyboard navigation) runs one step, then stills.
    PressKey(SDLK_RIGHT);
    const lumidor::testing::TPngPicture stepped = Picture();
    EXPECT_GT(SceneDifference(paused2, stepped), 50) << "one step moves the flames";
    EXPECT_EQ(SceneDifference(stepped, Picture()), 0);
    EXPECT_TRUE(Timeline.Paused);

    // Space runs the effect again.
    PressKey(SDLK_SPACE);
    RunFrames(1);
    EXPECT_FALSE(Timeline.Paused);

    // The Time slider dragged to its right end seeks the fire to its fixed end, 60 s (a preset's length
    // is not known).
    const TItemRect slider = *FindItemRect("Timeline time");
    Push(SDL_MOUSEMOTION, slider.CentreX(), slider.CentreY());
    Push(SDL_MOUSEBUTTONDOWN, slider.CentreX(), slider.CentreY());
    RunFrames(2);
    Push(SDL_MOUSEMOTION, slider.X1 + 60.0f, slider.CentreY());
    RunFrames(2);
    Push(SDL_MOUSEBUTTONUP, slider.X1 + 60.0f, slider.CentreY());
    RunFrames(2);
    // The seek runs at the start of the next frame, which then runs its own 1/30 s.
    EXPECT_NEAR(EffectTimeline(0).Seconds, MaxTimelineSeekSeconds + 1.0 / 30.0, 1e-3);
}

TEST_F(TimelineGL, AnExamplePlaysFromTheExamplesSubmenuAndRestarts) {
    Choose("Explosion", "Examples");
    ASSERT_FALSE(PlayedScripts.empty());
    const int slot = CurrentEffect;
    ASSERT_GE(slot, FirstPlayedSlot);
    const TPlayedScript& played = PlayedScripts[std::size_t(slot - FirstPlayedSlot)];
    EXPECT_EQ(played.Live.File, "scripts/examples/explosion.psc");
    EXPECT_EQ(played.Live.State, TLiveScriptState::Loaded) << played.Live.Log;
    RunFrames(20);
    const auto live = [&] {
        int count = 0;
        for (const TParticleEffectContainer& container : played.Script.Containers)
            count += ParticleCount(container);
        return count;
    };
    EXPECT_GT(live(), 0) << "its bursts at time 0 fired";
    Picture("timeline_example.png");

    // Restart from the Timeline window: the clock starts again at 0.
    Choose("Timeline");
    ASSERT_TRUE(WaitFor("Timeline restart"));
    RunFrames(3); // the window settles inside the drawing surface before its items are aimed at
    EXPECT_GT(EffectTimeline(slot).Seconds, 0.5);
    ClickItem("Timeline restart");
    EXPECT_LT(EffectTimeline(slot).Seconds, 0.2);
    EXPECT_GT(live(), 0);

    // Choosing it again from the submenu selects the same played script.
    Choose("Explosion", "Examples");
    EXPECT_EQ(CurrentEffect, slot);
    EXPECT_EQ(PlayedScripts.size(), std::size_t(slot - FirstPlayedSlot + 1));
}
