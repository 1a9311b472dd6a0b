// The orbit camera driven as a user drives it (mouse, wheel and keys injected into SDL's queue on the
// real window and UI, a paused snow), and a flake picked where the turned camera draws it.

#include "app/core/debug_tools.h"
#include "app/core/effects_startup.h"
#include "app/core/orbit_camera.h"
#include "app/core/timeline_control.h"
#include "app/core/timeline_window.h"
#include "app/debug/particle_picking.h"
#include "demo_camera.h"
#include "demo_window_fixture.h"
#include "effects/effects.h"
#include "engine/random.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>
#include <functional>
#include <tuple>

using namespace lumidor;
using lumidor::testing::DemoCamera;

class CameraGL : public lumidor::testing::DemoWindowTest {
  public: // the gestures, for the table's rows
    using DemoWindowTest::Click;
    using DemoWindowTest::ClickItem;
    using DemoWindowTest::PressKey;
    using DemoWindowTest::RunFrames;

    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SDL_SetWindowSize(window.Window, 800, 600);
        ResetEffectsForTesting();
        SeedRandom(7);      // the same flakes on every run
        CurrentEffect = 16; // "Snow (10000)"
        StartDemo();
        RunFrames(60);
        PressKey(SDLK_RIGHT); // paused: the flakes stand still between the aim and the click
        RunFrames(2);
    }
    void TearDown() override {
        ResetOrbitCamera(CurrentCamera);
        ClearInspection();
        Timeline = TTimeline{};
        TimelineVisible = false;
        if (hooks.Shutdown) hooks.Shutdown();
        DemoWindowTest::TearDown();
    }
    // Press at (x, y), a frame, move by (dx, dy), a frame, release; with Alt held as a keyboard holds it.
    void Drag(float x, float y, float dx, float dy, Uint8 button, bool alt = false) {
        SDL_SetModState(alt ? KMOD_LALT : KMOD_NONE);
        PressKey(SDLK_LALT); // ImGui reads the modifiers on a key event
        Push(SDL_MOUSEMOTION, x, y);
        Push(SDL_MOUSEBUTTONDOWN, x, y, button);
        RunFrames(1);
        Push(SDL_MOUSEMOTION, x + dx, y + dy);
        RunFrames(1);
        Push(SDL_MOUSEBUTTONUP, x + dx, y + dy, button);
        RunFrames(2);
        SDL_SetModState(KMOD_NONE);
        PressKey(SDLK_LALT);
    }
    void Wheel(float x, float y, int notches) { // one event a notch, as a wheel sends them
        Push(SDL_MOUSEMOTION, x, y);
        for (SDL_Event event{SDL_MOUSEWHEEL}; notches != 0; notches -= event.wheel.y) {
            event.wheel.y = notches > 0 ? 1 : -1;
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        }
        RunFrames(2);
    }
    // A flake alone within 4 pixels in every view, inside the window clear of the banner and the
    // windows on the right, and `apart` pixels or more from where the first view draws it in the others.
    std::int32_t LoneFlake(const std::vector<TScreenView>& views, float apart, float& x, float& y) {
        std::vector<std::vector<std::pair<float, float>>> at(views.size());
        for (std::size_t v = 0; v < views.size(); ++v)
            for (std::int32_t i = 0; i < ParticleCount(FloorEffect); ++i) {
                std::pair<float, float>& p = at[v].emplace_back();
                if (!ProjectToWindow(views[v], ReadParticle(FloorEffect, i).Position, p.first, p.second))
                    p = {-1e9f, -1e9f}; // behind the camera
            }
        const auto near = [](std::pair<float, float> a, std::pair<float, float> b, float d) {
            return std::hypot(a.first - b.first, a.second - b.second) < d;
        };
        for (std::size_t i = 0; i < at[0].size(); ++i) {
            bool fits = true;
            for (std::size_t v = 0; v < views.size() && fits; ++v) {
                const auto [px, py] = at[v][i];
                fits = px > 60 && px < 450 && py > 200 && py < 540 &&
                       (v == 0 || !near(at[0][i], at[v][i], apart));
                for (std::size_t k = 0; k < at[v].size() && fits; ++k)
                    fits = k == i || !near(at[v][k], at[v][i], 4.0f);
            }
            if (!fits) continue;
            x = at[0][i].first + 0.5f; // the pixel's centre
            y = at[0][i].second + 0.5f;
            return std::int32_t(i);
        }
        return -1;
    }
};

TEST_F(CameraGL, DragsTurnTheWheelZoomsHomeAndResetViewReturnAndWindowsKeepTheirMouse) {
    float x = 0, y = 0;
    ASSERT_GE(LoneFlake({DemoCamera()}, 0, x, y), 0);
    const struct {
        const char* Gesture;
        std::function<void(CameraGL&)> Do;
        TOrbitCamera Expected;
        bool Picks;
    } cases[] = {
        {"middle drag", [&](CameraGL& t) { t.Drag(x, y, 50, 20, SDL_BUTTON_MIDDLE); }, {20, 8, 5}, false},
        {"Alt + left drag",
         [&](CameraGL& t) { t.Drag(x, y, -50, -10, SDL_BUTTON_LEFT, true); },
         {-20, -4, 5},
         false},
        {"left drag", [&](CameraGL& t) { t.Drag(x, y, 50, 20, SDL_BUTTON_LEFT); }, {}, true},
        {"wheel", [&](CameraGL& t) { t.Wheel(x, y, 2), t.Wheel(x, y, -3); }, {0, 0, 5.5f}, false},
        {"Home",
         [](CameraGL& t) {
             CurrentCamera = {9, 9, 9}, t.PressKey(SDLK_HOME), t.RunFrames(1);
         },
         {},
         false},
        {"Reset view",
         [](CameraGL& t) {
             CurrentCamera = {9, 9, 9}, t.Click(150, 520, SDL_BUTTON_RIGHT), t.ClickItem("Reset view");
         },
         {},
         false},
        {"drag and wheel on a window",
         [](CameraGL& t) {
             TimelineClick(), t.RunFrames(2);
             const ImGuiWindow* timeline = ImGui::FindWindowByName("Timeline");
             const float wx = timeline->Pos.x + timeline->Size.x / 2,
                         wy = timeline->Pos.y + timeline->Size.y - 8;
             t.Drag(wx, wy, 60, 30, SDL_BUTTON_MIDDLE), t.Wheel(wx, wy, 3);
         },
         {},
         false},
    };
    for (const auto& test : cases) {
        ResetOrbitCamera(CurrentCamera);
        ClearInspection();
        test.Do(*this);
        EXPECT_NEAR(CurrentCamera.Yaw, test.Expected.Yaw, 1e-3f) << test.Gesture;
        EXPECT_NEAR(CurrentCamera.Pitch, test.Expected.Pitch, 1e-3f) << test.Gesture;
        EXPECT_NEAR(CurrentCamera.Distance, test.Expected.Distance, 1e-3f) << test.Gesture;
        EXPECT_EQ(DebugTools.Inspecting, test.Picks) << test.Gesture;
    }
}

TEST_F(CameraGL, AFlakeIsPickedWhereTheTurnedCameraDrawsItInTheViewOfItsPass) {
    const TScreenView turned = lumidor::testing::OrbitDemoCamera(800, 600, 60, 30, 6);
    float tx = 0, ty = 0, cx = 0, cy = 0;
    const std::int32_t chosen = LoneFlake({turned, DemoCamera()}, kPickRadius + 8, tx, ty);
    ASSERT_GE(chosen, 0) << "no flake alone in both views";
    ProjectToWindow(DemoCamera(), ReadParticle(FloorEffect, chosen).Position, cx, cy);
    // Turned, the flake is picked where the turned camera draws it and not where the classic view would.
    CurrentCamera = {60, 30, 6};
    for (const auto& [px, py, picked] : {std::tuple{tx, ty, true}, std::tuple{cx + 0.5f, cy + 0.5f, false}}) {
        ClearInspection();
        Click(px, py);
        EXPECT_EQ(DebugTools.Inspecting && DebugTools.Inspected.Index == chosen, picked) << px << ", " << py;
    }
    // Back in the classic view, it is picked there.
    PressKey(SDLK_HOME);
    ClearInspection();
    Click(cx + 0.5f, cy + 0.5f);
    EXPECT_TRUE(DebugTools.Inspecting && DebugTools.Inspected.Index == chosen);
    // The pass's view, which the inspector's mark and the gizmos use, is the camera's.
    EXPECT_EQ(DebugTools.Inspected.View.Modelview[14], -5.0f);
    CurrentCamera = {60, 30, 6};
    RunFrames(1);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(DebugTools.Inspected.View.Modelview[i], turned.Modelview[i], 1e-5f) << i;
}
