#include "app/desktop/frame_loop.h"
#include "app/desktop/main_window.h"
#include "demo_window_fixture.h"
#include "effects/frame_time.h"
#include "engine/gl_api.h"
#include "png_reader.h"

#include <imgui.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace lumidor;

namespace {

// The demo's real window, context and UI, as main() sets them up, without the display configuration.
class MainWindowGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Start(window.FrameClock);
        // Top-left, away from the server's pointer in the middle of the screen, so windows that other
        // tests map there send this one no enter or leave events that would move the UI's pointer.
        SDL_SetWindowPosition(window.Window, 0, 0);
        SDL_ShowWindow(window.Window);
    }
};

} // namespace

TEST_F(MainWindowGL, FrameRunsTheHooksAndTheScreenshotIsTheBackBufferTopDown) {
    std::vector<std::string> order;
    std::vector<float> frameTimes;
    TFrameView seen;
    GLfloat modelview[16] = {};
    bool depthTest = false, texturing = false;
    int rightClicks = 0;
    ImVec2 mouse;

    TAppHooks hooks;
    hooks.EffectPass = [&](const TFrameView& view) {
        order.push_back("effect");
        frameTimes.push_back(FrameTime);
        seen = view;
        GL.GetFloatv(GL_MODELVIEW_MATRIX, modelview);
        depthTest = GL.IsEnabled(GL_DEPTH_TEST);
        texturing = GL.IsEnabled(GL_TEXTURE_2D);
        // Red over everything above the origin: the upper half of the picture.
        GL.Disable(GL_TEXTURE_2D);
        GL.Color3f(1, 0, 0);
        GL.Begin(GL_QUADS);
        GL.Vertex3f(-10, 0, 0);
        GL.Vertex3f(10, 0, 0);
        GL.Vertex3f(10, 10, 0);
        GL.Vertex3f(-10, 10, 0);
        GL.End();
        GL.Enable(GL_TEXTURE_2D);
    };
    hooks.Ui = [&](const TFrameView& view) {
        order.push_back("ui");
        ImGui::SetNextWindowPos(ImVec2(10, float(view.ClientHeight) - 70));
        ImGui::SetNextWindowSize(ImVec2(160, 60));
        ImGui::Begin("Probe", nullptr, ImGuiWindowFlags_NoDecoration);
        ImGui::Text("menu goes here");
        ImGui::End();
        if (ImGui::IsMouseClicked(ImGuiMouseButton_Right)) ++rightClicks;
        mouse = ImGui::GetIO().MousePos;
    };

    // Let the window appear and the server's own pointer events (entering the window) arrive first.
    TCommandLine warmUp;
    warmUp.Frames = 1;
    ASSERT_EQ(RunFrameLoop(window, TAppHooks{}, warmUp), 0);

    // A right-click at (300, 400) made of injected events only.
    Push(SDL_MOUSEMOTION, 300, 400);
    Push(SDL_MOUSEBUTTONDOWN, 300, 400, SDL_BUTTON_RIGHT);
    Push(SDL_MOUSEBUTTONUP, 300, 400, SDL_BUTTON_RIGHT);

    const std::string shot =
        (std::filesystem::temp_directory_path() / ("lumidor_window_" + std::to_string(::getpid()) + ".png"))
            .string();
    TCommandLine options;
    options.Frames = 3;
    options.FixedFrameTime = 0.25f;
    options.ScreenshotFile = shot;
    ASSERT_EQ(RunFrameLoop(window, hooks, options), 0);

    EXPECT_EQ(order, (std::vector<std::string>{"effect", "ui", "effect", "ui", "effect", "ui"}));
    EXPECT_EQ(frameTimes, (std::vector<float>{0.25f, 0.25f, 0.25f}));
    EXPECT_EQ(modelview[14], -5.0f);
    EXPECT_TRUE(depthTest);
    EXPECT_TRUE(texturing);
    EXPECT_EQ(seen.ClientWidth, 696);
    EXPECT_EQ(seen.ClientHeight, 480);
    EXPECT_GE(seen.OuterWidth, seen.ClientWidth);
    EXPECT_EQ(rightClicks, 1);
    EXPECT_EQ(mouse.x, 300.0f);
    EXPECT_EQ(mouse.y, 400.0f);

    lumidor::testing::TPngPicture picture;
    ASSERT_TRUE(lumidor::testing::ReadPng(shot, picture));
    std::filesystem::remove(shot);
    ASSERT_EQ(picture.Width, 696);
    ASSERT_EQ(picture.Height, 480);
    const std::uint8_t* top = picture.At(348, 100);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[1], 0);
    const std::uint8_t* bottom = picture.At(600, 300);
    EXPECT_EQ(bottom[0] + bottom[1] + bottom[2], 0);
    const std::uint8_t* panel = picture.At(20, 440); // inside the ImGui probe window
    EXPECT_GT(panel[0] + panel[1] + panel[2], 0);
}

TEST_F(MainWindowGL, ResizedWindowGetsViewportAndAspectOfTheNewSize) {
    SDL_SetWindowSize(window.Window, 320, 200);
    GLint viewport[4] = {};
    GLfloat projection[16] = {};
    TAppHooks hooks;
    hooks.EffectPass = [&](const TFrameView&) {
        GL.GetIntegerv(GL_VIEWPORT, viewport);
        GL.GetFloatv(GL_PROJECTION_MATRIX, projection);
    };
    TCommandLine options;
    options.Frames = 2;
    ASSERT_EQ(RunFrameLoop(window, hooks, options), 0);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 200);
    EXPECT_NEAR(projection[5] / projection[0], 1.6f, 1e-5f); // aspect = client width / client height
    EXPECT_NEAR(projection[5], 1.0f / std::tan(22.5f * 3.14159265f / 180.0f), 1e-4f); // 45 degrees
}
