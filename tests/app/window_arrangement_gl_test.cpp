// "Arrange windows" and the menu hint on the real window: every tool window open at the demo's size,
// arranged into the column, the effect left in view. With LUMIDOR_SCREENSHOT_DIR set, the pictures are
// kept there.

#include "app/core/debug_tools.h"
#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "app/core/effects_startup.h"
#include "app/core/menu_hint.h"
#include "app/core/properties_window.h"
#include "app/core/script_log_window.h"
#include "app/core/timeline_control.h"
#include "app/core/timeline_window.h"
#include "app/core/ui_item_rects.h"
#include "app/core/window_arrangement_ui.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/main_window.h"
#include "demo_camera.h"
#include "demo_window_fixture.h"
#include "effects/effects.h"
#include "png_reader.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <optional>
#include <vector>

using namespace lumidor;

namespace {

const char* const ToolWindows[] = {"Statistics", "Particle inspector", "Properties", "Script log",
                                   "Timeline"};

class WindowArrangementGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SDL_SetWindowSize(window.Window, 800, 600);
        ResetEffectsForTesting();
        CurrentEffect = 0;
        StartDemo();
    }
    void TearDown() override {
        DebugTools.StatisticsVisible = false;
        Properties = {};
        ScriptLogVisible = false;
        TimelineVisible = false;
        ClearInspection();
        ResetWindowArrangement();
        TimelineWorkBudgetMs = 0.0;
        MenuOpenedOnce = false;
        if (hooks.Shutdown) hooks.Shutdown();
        DemoWindowTest::TearDown();
    }
    // The menu opened near the bottom, right of the column and left of the inspector, where no window
    // is, piled or arranged; and `entry` chosen.
    void Choose(const std::string& entry, bool inEffects = false) {
        Click(330, 585, SDL_BUTTON_RIGHT);
        ASSERT_TRUE(WaitFor("Effects")) << "PopupMenu1 did not open";
        if (inEffects) {
            const TItemRect effects = *FindItemRect("Effects");
            Push(SDL_MOUSEMOTION, effects.CentreX(), effects.CentreY());
            RunFrames(2);
        }
        ClickItem(entry);
    }
    static std::optional<TUiRect> WindowRect(const char* name) {
        const ImGuiWindow* window = ImGui::FindWindowByName(name);
        if (!window || !window->WasActive) return std::nullopt;
        return TUiRect{window->Pos.x, window->Pos.y, window->Size.x, window->Size.y};
    }
    static bool Overlap(const TUiRect& a, const TUiRect& b) {
        return a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height && b.Y < a.Y + a.Height;
    }
    // Every open tool window inside the main window, none over another or over the picture's middle.
    void ExpectArranged(const std::vector<const char*>& open) {
        const TUiRect middle{300, 150, 200, 300};
        std::vector<TUiRect> rects;
        for (const char* name : open) {
            const std::optional<TUiRect> rect = WindowRect(name);
            ASSERT_TRUE(rect) << name << " is not shown";
            EXPECT_GE(rect->X, 0.0f) << name;
            EXPECT_GE(rect->Y, 0.0f) << name;
            EXPECT_LE(rect->X + rect->Width, 800.0f) << name;
            EXPECT_LE(rect->Y + rect->Height, 600.0f) << name;
            EXPECT_FALSE(Overlap(*rect, middle)) << name << " covers the effect";
            for (std::size_t k = 0; k < rects.size(); ++k)
                EXPECT_FALSE(Overlap(rects[k], *rect)) << name << " over " << open[k];
            rects.push_back(*rect);
        }
    }
};

} // namespace

TEST_F(WindowArrangementGL, ArrangeWindowsStacksAllFiveInAColumnAndLeavesTheEffectInView) {
    Choose("Script 1 (3000)", true);
    RunFrames(30);
    // A particle of the script picked where no window is yet: the inspector opens.
    const TScreenView camera = lumidor::testing::DemoCamera(800, 600);
    for (const TParticleEffectContainer& container : Scripts[0].Containers) {
        for (std::int32_t i = 0; i < ParticleCount(container) && !DebugTools.Inspecting; ++i) {
            float x = 0, y = 0;
            if (!ProjectToWindow(camera, ReadParticle(container, i).Position, x, y)) continue;
            if (x < 320 || x > 740 || y < 170 || y > 540) continue;
            Click(x, y);
        }
    }
    ASSERT_TRUE(DebugTools.Inspecting) << "no particle of Script 1 could be picked";
    for (const char* entry : {"Statistics", "Properties", "Script log", "Timeline"})
        Choose(entry);
    RunFrames(2);
    Picture("windows_piled_800x600.png");
    Choose("Arrange windows");
    RunFrames(2);
    ExpectArranged({ToolWindows, ToolWindows + 5});
    // The column is too short for all five: the sliders give way to their title bar.
    ASSERT_TRUE(WindowRect("Properties") && WindowRect("Particle inspector"));
    EXPECT_TRUE(ImGui::FindWindowByName("Properties")->Collapsed);
    EXPECT_FALSE(ImGui::FindWindowByName("Particle inspector")->Collapsed);
    const lumidor::testing::TPngPicture arranged = Picture("windows_arranged_800x600.png");
    int lit = 0; // the script's particles beside the column
    for (int y = 150; y < 450; ++y)
        for (int x = 310; x < 790; ++x)
            lit += arranged.At(x, y)[0] + arranged.At(x, y)[1] + arranged.At(x, y)[2] > 150;
    EXPECT_GT(lit, 300);

    // One window closed: the others take its room, and the sliders open again.
    DebugTools.StatisticsVisible = false;
    RunFrames(3);
    ExpectArranged({ToolWindows + 1, ToolWindows + 5});
    ASSERT_TRUE(WindowRect("Properties"));
    EXPECT_FALSE(ImGui::FindWindowByName("Properties")->Collapsed);
    // One opened later takes its place in the column.
    Choose("Statistics");
    RunFrames(2);
    ExpectArranged({ToolWindows, ToolWindows + 5});
}

TEST_F(WindowArrangementGL, TheMenuHintShowsInAnInteractiveRunUntilTheMenuOpens) {
    const auto hintPixels = [](const lumidor::testing::TPngPicture& picture) {
        int count = 0;
        for (int y = 545; y < 585; ++y)
            for (int x = 300; x < 500; ++x) {
                const std::uint8_t* p = picture.At(x, y);
                count += p[0] > 150 && p[1] > 150 && p[2] > 150;
            }
        return count;
    };
    EXPECT_LT(hintPixels(Picture()), 5) << "a run of a fixed number of frames shows no hint";
    TimelineWorkBudgetMs = DefaultTimelineWorkBudgetMs; // as main() sets it for a person at the window
    const int shown = hintPixels(Picture("menu_hint.png"));
    EXPECT_GT(shown, 30);
    Click(600, 300, SDL_BUTTON_RIGHT);
    ASSERT_TRUE(WaitFor("Effects"));
    EXPECT_TRUE(MenuOpenedOnce);
    Click(600, 300); // closes the menu
    EXPECT_LT(hintPixels(Picture()), 5);
}
