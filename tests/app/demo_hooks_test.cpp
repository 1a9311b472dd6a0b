// The demo core's side of the host boundary, without a window: the host's clock times the statistics,
// and the menu's "Exit" reaches the host once through the hooks.

#include "app/core/debug_tools.h"
#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "effects/effects.h"
#include "engine/gl_recorder.h"

#include <gtest/gtest.h>

using namespace lumidor;

TEST(DemoHooks, TheHostClockTimesTheEffectPassAndItsSystems) {
    InstallGLRecorder();
    ResetEffectsForTesting();
    double now = 1000.0;
    THostServices host;
    host.ClockMs = [&now] { return now += 0.25; }; // every reading a quarter millisecond later
    const TAppHooks hooks = MakeDemoHooks(host);
    BeginEffectPassStatistics();      // 1000.25
    UpdateAndDraw(FloorEffect, 0.1f); // 1000.5 .. 1000.75
    EndEffectPassStatistics();        // 1001.0
    hooks.FrameDone(3.0);
    ASSERT_EQ(DebugTools.Last.Systems.size(), 1u);
    EXPECT_DOUBLE_EQ(DebugTools.Last.Systems[0].PassMs, 0.25);
    EXPECT_DOUBLE_EQ(DebugTools.Last.EngineMs, 0.75);
    EXPECT_DOUBLE_EQ(DebugTools.Last.FrameMs, 3.0);
    hooks.Shutdown();
    ResetEffectsForTesting();
}

TEST(DemoHooks, ExitIsTakenByTheHostOnce) {
    const TAppHooks hooks = MakeDemoHooks();
    ASSERT_TRUE(hooks.TakeCloseRequest);
    EXPECT_FALSE(hooks.TakeCloseRequest());
    Exit1Click();
    EXPECT_TRUE(hooks.TakeCloseRequest());
    EXPECT_FALSE(hooks.TakeCloseRequest()); // the next frame goes on unless asked again
    hooks.Shutdown();
}
