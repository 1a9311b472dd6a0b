#include "app/core/startup.h"
#include "app/desktop/main_window.h"
#include "effects/frame_time.h"
#include "engine/gl_recorder.h"
#include "engine/message.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace lumidor;

namespace {

struct TShownMessage {
    std::string Text, Caption;
    TMessageIcon Icon;
};
std::vector<TShownMessage> shown;

void RecordMessage(const std::string& text, const std::string& caption, TMessageIcon icon) {
    shown.push_back({text, caption, icon});
}

} // namespace

TEST(Startup, AFailingStepIsShownAndTheRestAreSkipped) {
    shown.clear();
    const TMessageHandler previous = SetMessageHandler(&RecordMessage);
    std::vector<int> ran;
    const bool completed = RunStartupSteps({
        [&] { ran.push_back(1); },
        [&] { throw std::runtime_error("Could not read .\\hm.bmp"); },
        [&] { ran.push_back(3); },
    });
    const bool second = RunStartupSteps({[&] { ran.push_back(4); }, [] { throw 42; }});
    SetMessageHandler(previous);

    EXPECT_FALSE(completed);
    EXPECT_FALSE(second);
    EXPECT_EQ(ran, (std::vector<int>{1, 4}));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].Text, "Could not read .\\hm.bmp");
    EXPECT_EQ(shown[0].Caption, "Error");
    EXPECT_EQ(shown[0].Icon, TMessageIcon::Error);
    EXPECT_EQ(shown[1].Text, "Start-up failed for an unknown reason.");
    EXPECT_TRUE(RunStartupSteps({}));
}

TEST(Frame, GLCallsComeInTheFrameOrderAroundTheEffectPass) {
    InstallGLRecorder();
    TMainWindow window; // no SDL window: sizes read as 0, the swap does nothing
    window.GLReady = true;
    Start(window.FrameClock);
    TAppHooks hooks;
    float seenFrameTime = -1.0f;
    hooks.EffectPass = [&](const TFrameView&) {
        seenFrameTime = FrameTime;
        GL.DepthMask(GL_FALSE); // marks where the effect pass ran
    };
    TFrameRequest request;
    request.FixedFrameTime = 0.04f;
    ASSERT_TRUE(DrawFrame(window, hooks, request));

    EXPECT_EQ(
        RecordedGLCallNames(),
        (std::vector<std::string>{"MatrixMode", "LoadIdentity", "gluPerspective", "Viewport", "MatrixMode",
                                  "LoadIdentity", "Clear", "ClearColor", "Translatef", "DepthMask"}));
    const std::vector<TGLCall>& calls = GLRecorder().Calls;
    EXPECT_EQ(calls[0].Args, (std::vector<double>{GL_PROJECTION}));
    EXPECT_EQ(calls[2].Args[0], 45.0);
    EXPECT_EQ(calls[2].Args[2], 0.05);
    EXPECT_EQ(calls[2].Args[3], 100.0);
    EXPECT_EQ(calls[4].Args, (std::vector<double>{GL_MODELVIEW}));
    EXPECT_EQ(calls[6].Args, (std::vector<double>{GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}));
    EXPECT_EQ(calls[7].Args, (std::vector<double>{0, 0, 0, 1}));
    EXPECT_EQ(calls[8].Args, (std::vector<double>{0, 0, -5}));
    EXPECT_EQ(seenFrameTime, 0.04f);
    EXPECT_EQ(FrameTime, 0.04f);
    EXPECT_EQ(window.FramesPerSecond, 1.0f / window.FrameClock.Elapsed); // from the clock, not the fixed time
}

TEST(Frame, WithoutAUsableContextOnlyTheTimerRuns) {
    InstallGLRecorder();
    TMainWindow window;
    Start(window.FrameClock);
    bool effectRan = false;
    TAppHooks hooks;
    hooks.EffectPass = [&](const TFrameView&) { effectRan = true; };
    EXPECT_TRUE(DrawFrame(window, hooks, {}));
    TFrameRequest withScreenshot;
    withScreenshot.ScreenshotFile = "never-written.png";
    EXPECT_FALSE(DrawFrame(window, hooks, withScreenshot)); // a picture was asked for and cannot exist
    EXPECT_FALSE(effectRan);
    EXPECT_TRUE(GLRecorder().Calls.empty());
    EXPECT_EQ(FrameTime, window.FrameClock.Elapsed);
}
