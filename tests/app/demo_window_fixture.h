#pragma once
// The demo's real window, GL context and UI, set up as main() does (without the display
// configuration), for the in-process GL tests that inject SDL events.

#include "app/core/app_hooks.h"
#include "app/core/command_line.h"
#include "app/core/demo_hooks.h"
#include "app/core/ui_item_rects.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/frame_timer.h"
#include "app/desktop/main_window.h"
#include "app/desktop/ui_layer.h"
#include "png_reader.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace lumidor::testing {

class DemoWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display; run under xvfb-run";
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        CreateMainWindow(window, 32);
        ActivateRenderContext(window);
        EnableDefaultState();
        window.UiReady = InitUi(window.Window, window.RenderContext);
        ASSERT_TRUE(window.UiReady);
    }
    void TearDown() override {
        if (!previousDirectory.empty()) std::filesystem::current_path(previousDirectory);
        if (window.UiReady) ShutdownUi();
        CloseMainWindow(window);
        SDL_Quit();
    }

    /// Runs the demo as main() does, from its data folder (left again in TearDown): its hooks and
    /// effects started and the window shown at the top left, away from the server's pointer, so that
    /// no crossing events move the UI's pointer; then, with `firstFrame`, one frame for the window's
    /// own events.
    void StartDemo(bool firstFrame = true) {
        previousDirectory = std::filesystem::current_path();
        std::filesystem::current_path(LUMIDOR_SOURCE_DIR "/data");
        hooks = MakeDemoHooks();
        hooks.EffectsStartup();
        Start(window.FrameClock);
        SDL_SetWindowPosition(window.Window, 0, 0);
        SDL_ShowWindow(window.Window);
        if (firstFrame) RunFrames(1);
    }

    /// Queues one mouse event at window pixel (x, y). A motion also moves the X server's pointer
    /// there, so that no real leave or motion event arriving late (the window was just shown or
    /// moved) takes the injected pointer away before the UI sees it.
    void Push(Uint32 type, float x, float y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event event{};
        event.type = type;
        if (type == SDL_MOUSEMOTION) {
            if (window.Window) SDL_WarpMouseInWindow(window.Window, int(x), int(y));
            event.motion.x = int(x);
            event.motion.y = int(y);
        } else {
            event.button.button = button;
            event.button.x = int(x);
            event.button.y = int(y);
        }
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }

    /// Runs `frames` frames of the real frame loop at 1/30 s each; the last one is written to
    /// `screenshot` when given.
    void RunFrames(int frames, const std::string& screenshot = "") {
        TCommandLine options;
        options.Frames = frames;
        options.FixedFrameTime = 1.0f / 30.0f;
        options.ScreenshotFile = screenshot;
        ASSERT_EQ(RunFrameLoop(window, hooks, options), 0);
    }
    /// Queues a press and release of `key`.
    void PressKey(SDL_Keycode key) {
        for (Uint32 type : {Uint32(SDL_KEYDOWN), Uint32(SDL_KEYUP)}) {
            SDL_Event event{};
            event.type = type;
            event.key.keysym.sym = key;
            event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
            ASSERT_EQ(SDL_PushEvent(&event), 1);
        }
    }
    /// A left (or other) click at window pixel (x, y), then three frames for the UI to act on it.
    void Click(float x, float y, Uint8 button = SDL_BUTTON_LEFT) {
        Push(SDL_MOUSEMOTION, x, y);
        Push(SDL_MOUSEBUTTONDOWN, x, y, button);
        Push(SDL_MOUSEBUTTONUP, x, y, button);
        RunFrames(3);
    }

    /// One more frame, read back; kept as `keepAs` in LUMIDOR_SCREENSHOT_DIR when both are given.
    TPngPicture Picture(const std::string& keepAs = "") {
        const std::string file = (std::filesystem::temp_directory_path() /
                                  ("lumidor_gl_test_" + std::to_string(::getpid()) + ".png"))
                                     .string();
        RunFrames(1, file);
        TPngPicture picture;
        EXPECT_TRUE(ReadPng(file, picture));
        if (const char* folder = std::getenv("LUMIDOR_SCREENSHOT_DIR"); folder && !keepAs.empty())
            std::filesystem::copy_file(file, std::filesystem::path(folder) / keepAs,
                                       std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(file);
        return picture;
    }
    /// Up to ten frames for the UI to show the item called `name` (a submenu opens on hover).
    bool WaitFor(const std::string& name) {
        for (int frame = 0; frame < 10 && !ItemShownInLastFrame(name); ++frame)
            RunFrames(1);
        return ItemShownInLastFrame(name);
    }
    void ClickItem(const std::string& name) {
        ASSERT_TRUE(WaitFor(name)) << name << " is not on screen";
        const TItemRect rect = *FindItemRect(name);
        Click(rect.CentreX(), rect.CentreY());
    }

    TMainWindow window;
    TAppHooks hooks;                         ///< what the frames run; empty until a test installs the demo's
    std::filesystem::path previousDirectory; ///< the working folder before StartDemo
};

} // namespace lumidor::testing
