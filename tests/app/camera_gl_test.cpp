// The orbit camera driven as a user drives it: mouse, wheel and keys injected into SDL's queue on the
// real window and UI, and a particle picked where the turned camera draws it.

#include "app/core/debug_tools.h"
#include "app/core/effect_menu.h"
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
#include <cstdlib>
#include <functional>

using namespace lumidor;

namespace {

constexpr int SnowSlot = 16;

class CameraGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SDL_SetWindowSize(window.Window, 800, 600);
        ResetEffectsForTesting();
        SeedRandom(7); // the same flakes on every run
        CurrentEffect = SnowSlot;
        StartDemo();
        RunFrames(60);
    }
    void TearDown() override {
        ResetOrbitCamera(CurrentCamera);
        ClearInspection();
        Timeline = TTimeline{};
        TimelineVisible = false;
        SDL_SetModState(KMOD_NONE);
        if (hooks.Shutdown) hooks.Shutdown();
        DemoWindowTest::TearDown();
    }

  public: // the gestures, for the test tables
    // Alt held or let go as a keyboard does it: the modifier state, then the key's own event.
    void HoldAlt(bool held) {
        SDL_SetModState(held ? KMOD_LALT : KMOD_NONE);
        SDL_Event event{};
        event.type = held ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = SDLK_LALT;
        event.key.keysym.scancode = SDL_SCANCODE_LALT;
        event.key.keysym.mod = held ? KMOD_LALT : KMOD_NONE;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        RunFrames(1);
    }
    // Press at `from`, a frame, move to `to`, a frame, release there.
    void Drag(float x0, float y0, float x1, float y1, Uint8 button) {
        Push(SDL_MOUSEMOTION, x0, y0);
        Push(SDL_MOUSEBUTTONDOWN, x0, y0, button);
        RunFrames(1);
        Push(SDL_MOUSEMOTION, x1, y1);
        RunFrames(1);
        Push(SDL_MOUSEBUTTONUP, x1, y1, button);
        RunFrames(2);
    }
    // One event a notch, as a wheel sends them.
    void Wheel(float x, float y, int steps) {
        Push(SDL_MOUSEMOTION, x, y);
        for (int notch = 0; notch < std::abs(steps); ++notch) {
            SDL_Event event{};
            event.type = SDL_MOUSEWHEEL;
            event.wheel.y = steps > 0 ? 1 : -1;
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        }
        RunFrames(2);
    }
    // Where the classic view draws the first flake inside the window, clear of the banner and of the
    // windows that open on the right: a click there has a flake to pick.
    void FlakePixel(float& x, float& y) const {
        const TScreenView classic = lumidor::testing::DemoCamera(800, 600);
        for (std::int32_t i = 0; i < ParticleCount(FloorEffect); ++i)
            if (ProjectToWindow(classic, ReadParticle(FloorEffect, i).Position, x, y) && x > 100 && x < 400 &&
                y > 200 && y < 500)
                return;
        x = y = -1.0f;
    }

    // A particle of FloorEffect drawn alone (nothing else within 4 pixels) and inside the window,
    // away from the banner, in both views; -1 when there is none.
    std::int32_t LoneInBothViews(const TScreenView& a, const TScreenView& b, float apart) const {
        const std::int32_t count = ParticleCount(FloorEffect);
        std::vector<float> ax(std::size_t(count), -1e9f), ay = ax, bx = ax, by = ax;
        for (std::int32_t i = 0; i < count; ++i) {
            const TVector3 position = ReadParticle(FloorEffect, i).Position;
            ProjectToWindow(a, position, ax[std::size_t(i)], ay[std::size_t(i)]);
            ProjectToWindow(b, position, bx[std::size_t(i)], by[std::size_t(i)]);
        }
        const auto inside = [](float x, float y) { return x > 60 && x < 470 && y > 200 && y < 540; };
        const auto alone = [&](const std::vector<float>& xs, const std::vector<float>& ys, std::int32_t i) {
            for (std::int32_t k = 0; k < count; ++k)
                if (k != i && std::hypot(xs[std::size_t(k)] - xs[std::size_t(i)],
                                         ys[std::size_t(k)] - ys[std::size_t(i)]) <= 4.0f)
                    return false;
            return true;
        };
        for (std::int32_t i = 0; i < count; ++i) {
            const std::size_t s = std::size_t(i);
            if (!inside(ax[s], ay[s]) || !inside(bx[s], by[s])) continue;
            if (std::hypot(ax[s] - bx[s], ay[s] - by[s]) < apart) continue;
            if (alone(ax, ay, i) && alone(bx, by, i)) return i;
        }
        return -1;
    }
};

TOrbitCamera Camera(float yaw, float pitch, float distance) {
    TOrbitCamera camera;
    camera.Yaw = yaw;
    camera.Pitch = pitch;
    camera.Distance = distance;
    return camera;
}

} // namespace

TEST_F(CameraGL, MiddleOrAltDragsTurnTheWheelZoomsAndAPlainClickStillPicks) {
    PressKey(SDLK_RIGHT); // paused: the flake at (x, y) stays there
    RunFrames(2);
    float x = 0, y = 0;
    FlakePixel(x, y);
    ASSERT_GE(x, 0.0f) << "no flake on screen";
    const struct {
        const char* Gesture;
        std::function<void(CameraGL&)> Do;
        TOrbitCamera Expected;
        bool Picks;
    } cases[] = {
        {"middle drag", [&](CameraGL& t) { t.Drag(x, y, x + 50, y + 20, SDL_BUTTON_MIDDLE); },
         Camera(20.0f, 8.0f, 5.0f), false},
        {"Alt + left drag",
         [&](CameraGL& t) {
             t.HoldAlt(true);
             t.Drag(x, y, x - 50, y - 10, SDL_BUTTON_LEFT);
             t.HoldAlt(false);
         },
         Camera(-20.0f, -4.0f, 5.0f), false},
        {"left drag without Alt", [&](CameraGL& t) { t.Drag(x, y, x + 50, y + 20, SDL_BUTTON_LEFT); },
         Camera(0.0f, 0.0f, 5.0f), true},
        {"wheel two steps nearer", [&](CameraGL& t) { t.Wheel(x, y, 2); }, Camera(0.0f, 0.0f, 5.0f / 1.21f),
         false},
        {"wheel one step away", [&](CameraGL& t) { t.Wheel(x, y, -1); }, Camera(0.0f, 0.0f, 5.5f), false},
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

TEST_F(CameraGL, AWindowKeepsItsDragsAndHomeAndTheMenuResetTheView) {
    TimelineClick();
    RunFrames(2);
    const ImGuiWindow* timeline = ImGui::FindWindowByName("Timeline");
    ASSERT_TRUE(timeline && timeline->WasActive);
    const float x = timeline->Pos.x + timeline->Size.x / 2, y = timeline->Pos.y + timeline->Size.y - 8;
    Drag(x, y, x + 60, y + 30, SDL_BUTTON_MIDDLE);
    Wheel(x, y, 3);
    EXPECT_TRUE(IsDefaultCamera(CurrentCamera)) << "a drag or wheel on a window is the window's";
    TimelineVisible = false;
    RunFrames(1);

    CurrentCamera = Camera(30.0f, 20.0f, 8.0f);
    PressKey(SDLK_HOME);
    RunFrames(1);
    EXPECT_TRUE(IsDefaultCamera(CurrentCamera)) << "Home";

    CurrentCamera = Camera(30.0f, 20.0f, 8.0f);
    Click(150, 520, SDL_BUTTON_RIGHT);
    ClickItem("Reset view");
    EXPECT_TRUE(IsDefaultCamera(CurrentCamera)) << "Reset view";
}

TEST_F(CameraGL, AParticleIsPickedWhereTheTurnedCameraDrawsIt) {
    PressKey(SDLK_RIGHT); // paused: the flakes stand still between the aim and the click
    RunFrames(2);
    ASSERT_TRUE(Timeline.Paused);
    CurrentCamera = Camera(60.0f, 30.0f, 6.0f);
    RunFrames(1);

    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window.Window, &width, &height);
    const TScreenView turned = lumidor::testing::OrbitDemoCamera(width, height, 60.0f, 30.0f, 6.0f);
    const TScreenView classic = lumidor::testing::DemoCamera(width, height);
    const std::int32_t chosen = LoneInBothViews(turned, classic, kPickRadius + 8.0f);
    ASSERT_GE(chosen, 0) << "no flake alone in both views";
    float tx = 0, ty = 0, cx = 0, cy = 0;
    const TVector3 position = ReadParticle(FloorEffect, chosen).Position;
    ProjectToWindow(turned, position, tx, ty);
    ProjectToWindow(classic, position, cx, cy);

    // Where the turned camera draws it, it is picked, in the view the pass drew it with.
    Click(tx + 0.5f, ty + 0.5f);
    ASSERT_TRUE(DebugTools.Inspecting);
    EXPECT_EQ(DebugTools.Inspected.Index, chosen);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(DebugTools.Inspected.View.Modelview[i], turned.Modelview[i], 1e-5f) << i;

    // Where the classic view would draw it, it is out of reach.
    ClearInspection();
    Click(cx + 0.5f, cy + 0.5f);
    EXPECT_FALSE(DebugTools.Inspecting && DebugTools.Inspected.Index == chosen);

    // Back to the classic view, that is where it is picked.
    PressKey(SDLK_HOME);
    RunFrames(1);
    ClearInspection();
    Click(cx + 0.5f, cy + 0.5f);
    ASSERT_TRUE(DebugTools.Inspecting);
    EXPECT_EQ(DebugTools.Inspected.Index, chosen);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(DebugTools.Inspected.View.Modelview[i], classic.Modelview[i], 1e-6f) << i;
}
