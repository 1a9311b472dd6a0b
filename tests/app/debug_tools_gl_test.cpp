// The debugging aids driven as a user drives them: the real window, effects and UI, mouse events
// injected into SDL's queue. With LUMIDOR_SCREENSHOT_DIR set, the pictures are also kept there.

#include "app/core/debug_tools.h"
#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "app/core/effects_startup.h"
#include "app/core/properties_window.h"
#include "app/core/timeline_control.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_placement.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/main_window.h"
#include "demo_camera.h"
#include "demo_window_fixture.h"
#include "effects/effects.h"
#include "engine/particle_step_breakdown.h"
#include "engine/simulation.h"
#include "png_reader.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

using namespace lumidor;

namespace {

class DebugToolsGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SDL_SetWindowSize(window.Window, 800, 600); // the demo's configured size
        ResetEffectsForTesting();                   // no particles carried over from another test's context
        CurrentEffect = 0;
        StartDemo();
    }
    void TearDown() override {
        if (DebugMode1Checked) DebugMode1Click();
        DebugTools.StatisticsVisible = false;
        Properties = {}; // a Properties window left open would take a later test's clicks
        ClearInspection();
        Timeline = TTimeline{};
        if (hooks.Shutdown) hooks.Shutdown();
        DemoWindowTest::TearDown();
    }

    void Choose(const std::string& entry) {
        Click(150, 520, SDL_BUTTON_RIGHT); // clear of the Statistics and inspector windows
        ASSERT_TRUE(WaitFor("Effects")) << "PopupMenu1 did not open";
        if (entry != "Debug mode" && entry != "Statistics") {
            const TItemRect effects = *FindItemRect("Effects");
            Push(SDL_MOUSEMOTION, effects.CentreX(), effects.CentreY());
            RunFrames(2);
        }
        ClickItem(entry);
    }
    // Pixels where green stands out: the ground grid's colour, which no effect here draws.
    static int GridPixels(const lumidor::testing::TPngPicture& picture) {
        int count = 0;
        for (int y = 0; y < picture.Height; ++y)
            for (int x = 0; x < picture.Width; ++x) {
                const std::uint8_t* p = picture.At(x, y);
                count += p[1] > 90 && p[1] > p[0] + 40 && p[1] > p[2] + 30;
            }
        return count;
    }

    /// Where each particle of `container` lies in the window, and the first one `wanted` accepts that is
    /// away from the edges and the banner and alone within 4 pixels; -1 when there is none.
    template <typename Wanted>
    std::int32_t LoneParticleOnScreen(const TParticleEffectContainer& container, Wanted wanted,
                                      std::vector<std::pair<float, float>>& onScreen) {
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window.Window, &width, &height);
        const TScreenView camera = lumidor::testing::DemoCamera(width, height);
        onScreen.assign(std::size_t(ParticleCount(container)), {-1e9f, -1e9f});
        for (std::int32_t i = 0; i < ParticleCount(container); ++i)
            ProjectToWindow(camera, ReadParticle(container, i).Position, onScreen[std::size_t(i)].first,
                            onScreen[std::size_t(i)].second);
        for (std::int32_t i = 0; i < ParticleCount(container); ++i) {
            const auto [x, y] = onScreen[std::size_t(i)];
            if (!wanted(ReadParticle(container, i)) || x < 60 || x > width - 330 || y < 200 ||
                y > height - 60)
                continue;
            bool alone = true;
            for (std::size_t k = 0; k < onScreen.size() && alone; ++k)
                alone =
                    k == std::size_t(i) || std::hypot(onScreen[k].first - x, onScreen[k].second - y) > 4.0f;
            if (alone) return i;
        }
        return -1;
    }
};

using lumidor::testing::DemoCamera;

// Where ImGui drew the window called `name` in the last frame; nothing when it was not shown.
std::optional<TUiRect> WindowRect(const char* name) {
    const ImGuiWindow* window = ImGui::FindWindowByName(name);
    if (!window || !window->WasActive) return std::nullopt;
    return TUiRect{window->Pos.x, window->Pos.y, window->Size.x, window->Size.y};
}

bool Inside(const TUiRect& outer, const TUiRect& inner) {
    return inner.X >= outer.X && inner.Y >= outer.Y && inner.X + inner.Width <= outer.X + outer.Width &&
           inner.Y + inner.Height <= outer.Y + outer.Height;
}

::testing::AssertionResult WindowInside(const char* name, const TUiRect& viewport) {
    const std::optional<TUiRect> rect = WindowRect(name);
    if (!rect) return ::testing::AssertionFailure() << name << " is not shown";
    if (!Inside(viewport, *rect))
        return ::testing::AssertionFailure()
               << name << " at (" << rect->X << ", " << rect->Y << ") size " << rect->Width << " x "
               << rect->Height << " crosses the edge of " << viewport.Width << " x " << viewport.Height;
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(DebugToolsGL, StatisticsAndInspectorLieInsideTheWindowAtAnySize) {
    Choose("Script 1 (3000)"); // three particle systems, with magnet points
    RunFrames(30);
    Choose("Debug mode");
    Choose("Properties");
    Choose("Statistics");
    RunFrames(2);
    // Aim at a particle clear of the Statistics window and the banner (where the script's particles
    // will be two frames on does not matter: the nearest within the pick radius is taken).
    const std::optional<TUiRect> statistics = WindowRect("Statistics");
    ASSERT_TRUE(statistics);
    const TScreenView camera = DemoCamera(800, 600);
    bool picked = false;
    for (const TParticleEffectContainer& container : Scripts[0].Containers) {
        for (std::int32_t i = 0; i < ParticleCount(container) && !picked; ++i) {
            float x = 0, y = 0;
            if (!ProjectToWindow(camera, ReadParticle(container, i).Position, x, y)) continue;
            if (x < statistics->X + statistics->Width + 60 || x > 740 || y < 170 || y > 560) continue;
            Push(SDL_MOUSEMOTION, x, y);
            Push(SDL_MOUSEBUTTONDOWN, x, y);
            Push(SDL_MOUSEBUTTONUP, x, y);
            // Inside from the first frame it shows, while its tables still measure their columns.
            for (int frame = 0; frame < 6; ++frame) {
                RunFrames(1);
                if (WindowRect("Particle inspector")) {
                    EXPECT_TRUE(WindowInside("Particle inspector", {0, 0, 800, 600})) << "frame " << frame;
                }
            }
            picked = DebugTools.Inspecting;
        }
    }
    ASSERT_TRUE(picked) << "no particle of Script 1 could be picked";

    const TUiRect window800x600{0, 0, 800, 600};
    EXPECT_EQ(UiViewport(), window800x600);
    EXPECT_TRUE(WindowInside("Statistics", window800x600));
    EXPECT_TRUE(WindowInside("Particle inspector", window800x600));
    // Three systems need no scrolling, and the ground grid's switch is in the window.
    EXPECT_EQ(DebugTools.Last.Systems.size(), 3u);
    EXPECT_EQ(ImGui::FindWindowByName("Statistics")->ScrollMax.y, 0.0f);
    ASSERT_TRUE(ItemShownInLastFrame("Ground grid"));
    const TItemRect grid = *FindItemRect("Ground grid");
    EXPECT_TRUE(Inside(*WindowRect("Statistics"), {grid.X0, grid.Y0, grid.X1 - grid.X0, grid.Y1 - grid.Y0}));
    // The inspector opens at the right edge, below the banner as far as it fits.
    const TUiRect inspector = *WindowRect("Particle inspector");
    EXPECT_GE(inspector.X + inspector.Width, 780.0f);
    EXPECT_NEAR(inspector.Y, std::min(112.0f, 600.0f - inspector.Height), 1.0f);
    Picture("statistics_and_inspector_800x600.png");

    // A smaller main window takes both windows in with it, shrinking what no longer fits.
    SDL_SetWindowSize(window.Window, 520, 380);
    RunFrames(4);
    const TUiRect small{0, 0, 520, 380};
    ASSERT_EQ(UiViewport(), small);
    EXPECT_TRUE(WindowInside("Statistics", small));
    EXPECT_TRUE(WindowInside("Particle inspector", small));
    EXPECT_TRUE(WindowInside("Properties", small));
    Picture("statistics_and_inspector_520x380.png");
    // Smaller than the windows themselves: each is as large as the main window, and scrolls.
    SDL_SetWindowSize(window.Window, 300, 240);
    RunFrames(4);
    const TUiRect tiny{0, 0, 300, 240};
    ASSERT_EQ(UiViewport(), tiny);
    for (const char* name : {"Statistics", "Particle inspector", "Properties"})
        EXPECT_TRUE(WindowInside(name, tiny));
    EXPECT_GT(ImGui::FindWindowByName("Properties")->ScrollMax.y, 0.0f);
    Picture("windows_300x240.png");
    SDL_SetWindowSize(window.Window, 800, 600);
    RunFrames(2);

    // Another effect ends the inspection: the particle belonged to the effect it was picked in.
    Choose("Fire (300)");
    RunFrames(1);
    EXPECT_FALSE(DebugTools.Inspecting);
    EXPECT_FALSE(WindowRect("Particle inspector"));
}

TEST_F(DebugToolsGL, StatisticsWindowCountsEverySystemOfTheStressTest) {
    Choose("Stresstest (10000)");
    Choose("Statistics");
    ASSERT_TRUE(DebugTools.StatisticsVisible);
    RunFrames(45); // the jet rises above the terrain
    ASSERT_EQ(DebugTools.Last.Systems.size(), 1u);
    EXPECT_EQ(DebugTools.Last.Systems[0].Name, "TerrainEffect");
    EXPECT_EQ(DebugTools.Last.Systems[0].Live, 10000);
    EXPECT_EQ(DebugTools.Last.Slot, 10);
    EXPECT_GT(DebugTools.Last.Systems[0].PassMs, 0.0);
    EXPECT_GE(DebugTools.Last.EngineMs, DebugTools.Last.Systems[0].PassMs);
    EXPECT_GE(DebugTools.Last.FrameMs, DebugTools.Last.EngineMs);
    EXPECT_EQ(DebugTools.History.FrameMs.size(), DebugTools.History.EngineMs.size());
    Picture("statistics_stresstest.png");
    EXPECT_TRUE(ItemShownInLastFrame("Magnet reach"));
}

TEST_F(DebugToolsGL, GizmosShowTheFloorOfEffect2AndAMagnetsReach) {
    Choose("Effect 2 (2000)");
    RunFrames(60);
    EXPECT_LT(GridPixels(Picture()), 50) << "no gizmos without debug mode";
    Choose("Debug mode");
    RunFrames(20);
    const int withGrid = GridPixels(Picture("gizmos_effect2.png"));
    EXPECT_GT(withGrid, 2000);

    // The Statistics window's switch turns the ground grid off and on again.
    Choose("Statistics");
    ClickItem("Ground grid");
    EXPECT_FALSE(DebugTools.ShowGroundGizmos);
    EXPECT_LT(GridPixels(Picture()), withGrid / 10);
    RunFrames(5); // let the window settle after the picture before clicking the same switch again
    ClickItem("Ground grid");
    EXPECT_TRUE(DebugTools.ShowGroundGizmos);
    DebugTools.StatisticsVisible = false;

    // Script 1's magnet points: their reach in the colour of what they do, switched by the window.
    Choose("Script 1 (3000)");
    RunFrames(30);
    auto magnetPixels = [](const lumidor::testing::TPngPicture& picture) {
        int count = 0;
        for (int y = 0; y < picture.Height; ++y)
            for (int x = 0; x < picture.Width; ++x) {
                if (y < 110 && x > picture.Width - 310) continue; // the banner is orange too
                const std::uint8_t* p = picture.At(x, y);
                const bool push = p[0] > 200 && p[1] > 100 && p[1] < 190 && p[2] < 90;
                const bool pull = p[0] < 130 && p[1] > 130 && p[2] > 200;
                count += push || pull;
            }
        return count;
    };
    const int withCircles = magnetPixels(Picture("gizmos_script1.png"));
    DebugTools.ShowMagnetGizmos = false;
    const int withoutCircles = magnetPixels(Picture());
    DebugTools.ShowMagnetGizmos = true;
    EXPECT_GT(withCircles, withoutCircles + 300);
}

TEST_F(DebugToolsGL, InspectorFollowsAClickedSnowFlakeUntilItIsGone) {
    Choose("Snow (10000)");
    RunFrames(60);
    Choose("Debug mode");
    RunFrames(1);

    // The click is seen in the next frame's UI and the pick made in the frame after, on the positions
    // of that frame: step a copy of the snow twice (no random numbers are drawn in a step) and aim at a
    // flake that will then be alone within 4 pixels, with a little life left, away from the banner.
    const float dt = 1.0f / 30.0f;
    TParticleEffectContainer future = FloorEffect;
    future.World.WorldFriction = {1.0f, 1.0f, 1.0f}; // what Snow sets around its update
    for (int step = 0; step < 2; ++step)
        SimulateParticles(future, dt, TCameraAxes{}, nullptr);
    std::vector<std::pair<float, float>> onScreen;
    const std::int32_t chosen = LoneParticleOnScreen(
        future,
        [](const TParticle& flake) {
            const bool snow = flake.Color.x == 0.9f && flake.Size.x == 0.1f;
            return snow && flake.LifeLeft >= 0.6f && flake.LifeLeft <= 1.2f;
        },
        onScreen);
    ASSERT_GE(chosen, 0) << "no lone flake on screen";
    const TParticle flake = ReadParticle(future, chosen);
    Click(onScreen[std::size_t(chosen)].first + 0.5f, onScreen[std::size_t(chosen)].second + 0.5f);
    ASSERT_TRUE(DebugTools.Inspecting);
    const TInspectedParticle& inspected = DebugTools.Inspected;
    EXPECT_EQ(inspected.System, "FloorEffect");
    EXPECT_FALSE(inspected.Gone);
    EXPECT_EQ(inspected.Record.LifeLength, flake.LifeLength);
    ASSERT_TRUE(inspected.StepSeen);
    // What the inspector shows after a pass is the record its breakdown predicted.
    EXPECT_EQ(inspected.Record.Position.y, inspected.Step.After.Position.y);
    EXPECT_EQ(inspected.Record.Velocity.y, inspected.Step.After.Velocity.y);
    EXPECT_NEAR(inspected.Step.ForceTerm.y, -1.0f / 1.1f, 1e-5f); // F / (I + 1) with inertia 0.1
    Picture("picked_snow_flake.png");
    EXPECT_TRUE(ItemShownInLastFrame("Life left"));

    // Followed frame after frame until its life runs out.
    for (int frame = 0; frame < 60 && !inspected.Gone; ++frame)
        RunFrames(1);
    EXPECT_TRUE(inspected.Gone);
    RunFrames(1);
    EXPECT_TRUE(ItemShownInLastFrame("gone"));

    // Debug mode off closes the inspector.
    Choose("Debug mode");
    RunFrames(1);
    EXPECT_FALSE(DebugTools.Inspecting);
}

TEST_F(DebugToolsGL, APickWithoutDebugModeLeavesTheArrowToTheTimelineAndShowsTheStepItRan) {
    Choose("Snow (10000)");
    RunFrames(60);
    PressKey(SDLK_RIGHT); // paused, one step on
    RunFrames(2);
    ASSERT_TRUE(Timeline.Paused);
    ASSERT_FALSE(DebugMode1Checked);

    // Paused, the flakes stand still: click one that falls, alone within 4 pixels, away from the banner.
    std::vector<std::pair<float, float>> onScreen;
    const std::int32_t chosen = LoneParticleOnScreen(
        FloorEffect,
        [](const TParticle& flake) { return flake.Velocity.y <= -0.1f && flake.LifeLeft >= 0.5f; }, onScreen);
    ASSERT_GE(chosen, 0) << "no lone falling flake on screen";
    Click(onScreen[std::size_t(chosen)].first + 0.5f, onScreen[std::size_t(chosen)].second + 0.5f);
    ASSERT_TRUE(DebugTools.Inspecting) << "a click picks without debug mode";
    ASSERT_TRUE(WindowRect("Particle inspector"));
    EXPECT_EQ(DebugTools.Inspected.Record.Position.y, ReadParticle(FloorEffect, chosen).Position.y);
    EXPECT_FALSE(ImGui::GetIO().WantCaptureKeyboard) << "the inspector takes no keys";

    // The right arrow steps the effect, and the inspector shows that step while paused frames follow.
    const double before = EffectTimeline(CurrentEffect).Seconds;
    PressKey(SDLK_RIGHT);
    RunFrames(3);
    EXPECT_NEAR(EffectTimeline(CurrentEffect).Seconds - before, double(TimelineStepSeconds), 1e-9);
    const TInspectedParticle& inspected = DebugTools.Inspected;
    ASSERT_TRUE(inspected.StepSeen);
    EXPECT_EQ(inspected.Step.Dt, TimelineStepSeconds);
    EXPECT_LT(inspected.Step.After.Position.y, inspected.Step.Before.Position.y);
    EXPECT_EQ(inspected.Record.Position.y, inspected.Step.After.Position.y);
    EXPECT_EQ(inspected.Record.Velocity.y, inspected.Step.After.Velocity.y);
    EXPECT_TRUE(ItemShownInLastFrame("Opacity"));
    Picture("inspector_after_a_step.png");
}
