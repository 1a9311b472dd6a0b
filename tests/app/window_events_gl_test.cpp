// The demo's window through what a desktop does to it: minimised, shrunk to one pixel, focus lost,
// moved to another display. The frame loop keeps drawing the real effects without a GL error.

#include "app/core/demo_hooks.h"
#include "app/core/effects_startup.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/gl_debug.h"
#include "app/desktop/main_window.h"
#include "demo_window_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace lumidor;

namespace {

class WindowEventsGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(StartGLDebug(&SDL_GL_GetProcAddress)) << "Mesa offers GL_KHR_debug";
        StartDemo(false);
        errorsBefore = GLDebugErrorCount();
    }

    // Runs `frames` frames of `slot` with GL checks after each; the projection of the last one is kept.
    void RunFrames(int slot, int frames) {
        CurrentEffect = slot;
        TCommandLine options;
        options.Frames = frames;
        options.FixedFrameTime = 1.0f / 30.0f;
        options.GLDebug = true;
        int drawn = 0;
        TAppHooks counted = hooks;
        counted.EffectPass = [&](const TFrameView& view) {
            ++drawn;
            EXPECT_GE(view.ClientWidth, 1);
            EXPECT_GE(view.ClientHeight, 1);
            hooks.EffectPass(view);
            GL.MatrixMode(GL_PROJECTION);
            GL.LoadIdentity();
            GL.gluPerspective(45.0, double(view.ClientWidth) / double(view.ClientHeight), 0.05, 100.0);
            GL.GetFloatv(GL_PROJECTION_MATRIX, projection);
        };
        ASSERT_EQ(RunFrameLoop(window, counted, options), 0);
        EXPECT_EQ(drawn, frames) << "the loop stopped early";
        for (float value : projection)
            EXPECT_TRUE(std::isfinite(value)) << "a division by zero reached the projection";
    }

    static void PushWindowEvent(Uint8 what, Sint32 a = 0, Sint32 b = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        event.window.data1 = a;
        event.window.data2 = b;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    GLfloat projection[16] = {};
    int errorsBefore = 0;
};

} // namespace

TEST_F(WindowEventsGL, MinimiseShrinkFocusAndDisplayChangesKeepTheLoopDrawing) {
    // Every slot once at the normal size, so each effect is set up before the window is disturbed.
    for (int slot = 0; slot < kEffectSlotCount; ++slot)
        RunFrames(slot, 2);

    // Minimised: the events of a desktop, then frames (the drawable may be 0 x 0 until restored).
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 0, 0);
    SDL_MinimizeWindow(window.Window);
    RunFrames(0, 5);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    SDL_RestoreWindow(window.Window);

    // One pixel, through every slot.
    SDL_SetWindowSize(window.Window, 1, 1);
    PushWindowEvent(SDL_WINDOWEVENT_RESIZED, 1, 1);
    for (int slot = 0; slot < kEffectSlotCount; ++slot)
        RunFrames(slot, 2);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window.Window, &width, &height);
    EXPECT_LE(width, 1);
    EXPECT_LE(height, 1);
    EXPECT_NEAR(projection[5] / projection[0], 1.0f, 1e-5f);

    // Another display: the event a desktop sends when the window moves to another monitor.
    PushWindowEvent(SDL_WINDOWEVENT_DISPLAY_CHANGED, 1);
    SDL_Event display{};
    display.type = SDL_DISPLAYEVENT;
    display.display.event = SDL_DISPLAYEVENT_CONNECTED;
    display.display.display = 1;
    ASSERT_EQ(SDL_PushEvent(&display), 1);
    SDL_SetWindowSize(window.Window, 640, 480);
    RunFrames(8, 5);

    EXPECT_EQ(GLDebugErrorCount(), errorsBefore) << "see the GL error lines above";
}

TEST_F(WindowEventsGL, AMinimisedWindowsEmptyDrawableGivesAOnePixelView) {
    // Xvfb has no window manager to minimise the window, so the 0 x 0 drawable is given directly.
    const TFrameView view = MakeFrameView(0, 0, 2, 3);
    EXPECT_EQ(view.ClientWidth, 1);
    EXPECT_EQ(view.ClientHeight, 1);
    EXPECT_EQ(view.OuterWidth, 6);
    hooks.EffectPass(view); // the effect and the banner, whose glOrtho box must not be empty
    EXPECT_EQ(CheckGLErrors("an effect pass at 0 x 0"), 0);
    EXPECT_EQ(GLDebugErrorCount(), errorsBefore);
}

TEST_F(WindowEventsGL, GLDebugReportsAndCountsAnError) {
    GL.Enable(0x1234); // not a capability: GL_INVALID_ENUM, also sent to the debug callback
    EXPECT_GE(CheckGLErrors("a test"), 1);
    EXPECT_GE(GLDebugErrorCount(), errorsBefore + 2) << "the error and the debug message";
    EXPECT_EQ(CheckGLErrors("a test"), 0) << "errors are read once";
    EXPECT_EQ(GLErrorName(GL_INVALID_ENUM), "GL_INVALID_ENUM (0x0500)");
    EXPECT_EQ(GLErrorName(0x9999), "0x9999");
}
