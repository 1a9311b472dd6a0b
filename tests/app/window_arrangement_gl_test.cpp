// "Arrange windows" on the real window: all five tool windows open at the demo's size, arranged into
// the column, the effect left in view. With LUMIDOR_SCREENSHOT_DIR set, the picture is kept there.

#include "app/core/debug_tools.h"
#include "app/core/demo_hooks.h"
#include "app/core/effects_startup.h"
#include "app/core/properties_window.h"
#include "app/core/script_log_window.h"
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

#include <vector>

using namespace lumidor;

namespace {

class WindowArrangementGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        SDL_SetWindowSize(window.Window, 800, 600);
        ResetEffectsForTesting();
        StartDemo();
        CurrentEffect = 11; // Script 1
    }
    void TearDown() override {
        DebugTools.StatisticsVisible = ScriptLogVisible = TimelineVisible = false;
        Properties = {};
        ClearInspection();
        ResetWindowArrangement();
        if (hooks.Shutdown) hooks.Shutdown();
        DemoWindowTest::TearDown();
    }
    // The menu opened near the bottom, right of the column and left of the inspector, where no window
    // is, piled or arranged.
    void Choose(const std::string& entry) {
        Click(330, 585, SDL_BUTTON_RIGHT);
        ClickItem(entry);
    }
    // The windows shown, each inside the main window and over neither another nor the picture's middle.
    static void ExpectArranged(std::vector<const char*> names) {
        std::vector<TUiRect> rects;
        for (const char* name : names) {
            const ImGuiWindow* window = ImGui::FindWindowByName(name);
            ASSERT_TRUE(window && window->WasActive) << name << " is not shown";
            const TUiRect rect{window->Pos.x, window->Pos.y, window->Size.x, window->Size.y};
            EXPECT_EQ(FitInside({0, 0, 800, 600}, rect), rect) << name;
            rects.push_back(rect);
        }
        rects.push_back({300, 150, 200, 300}); // the middle, where the effect is
        for (std::size_t k = 0; k < rects.size(); ++k)
            for (std::size_t j = 0; j < k; ++j)
                EXPECT_FALSE(
                    rects[j].X < rects[k].X + rects[k].Width && rects[k].X < rects[j].X + rects[j].Width &&
                    rects[j].Y < rects[k].Y + rects[k].Height && rects[k].Y < rects[j].Y + rects[j].Height)
                    << names[j] << " overlaps " << (k < names.size() ? names[k] : "the middle");
    }
};

} // namespace

TEST_F(WindowArrangementGL, ArrangeWindowsStacksAllFiveInAColumnAndLeavesTheEffectInView) {
    RunFrames(30);
    // A particle picked right of the middle, where no window is yet: the inspector opens.
    const TScreenView camera = lumidor::testing::DemoCamera(800, 600);
    for (const TParticleEffectContainer& container : Scripts[0].Containers) {
        for (std::int32_t i = 0; i < ParticleCount(container) && !DebugTools.Inspecting; ++i) {
            float x = 0, y = 0;
            if (ProjectToWindow(camera, ReadParticle(container, i).Position, x, y) && x > 320 && x < 740 &&
                y > 170 && y < 540)
                Click(x, y);
        }
    }
    ASSERT_TRUE(DebugTools.Inspecting) << "no particle of Script 1 could be picked";
    EXPECT_EQ(DebugTools.Inspected.System.rfind("type ", 0), 0u) << DebugTools.Inspected.System;
    for (const char* entry : {"Statistics", "Properties", "Script log", "Timeline", "Arrange windows"})
        Choose(entry);
    RunFrames(2);
    ExpectArranged({"Statistics", "Particle inspector", "Properties", "Script log", "Timeline"});
    // The column is too short for all five: the sliders give way to their title bar.
    EXPECT_TRUE(ImGui::FindWindowByName("Properties")->Collapsed);
    EXPECT_FALSE(ImGui::FindWindowByName("Script log")->Collapsed);
    const lumidor::testing::TPngPicture arranged = Picture("windows_arranged_800x600.png");
    int lit = 0; // the script's particles beside the column
    for (int y = 150; y < 450; ++y)
        for (int x = 310; x < 790; ++x)
            lit += arranged.At(x, y)[0] + arranged.At(x, y)[1] + arranged.At(x, y)[2] > 150;
    EXPECT_GT(lit, 300);

    // One window closed: the others take its room, and the sliders open again; opened again, it takes
    // its place in the column.
    DebugTools.StatisticsVisible = false;
    RunFrames(3);
    ExpectArranged({"Particle inspector", "Properties", "Script log", "Timeline"});
    EXPECT_FALSE(ImGui::FindWindowByName("Properties")->Collapsed);
    Choose("Statistics");
    RunFrames(2);
    ExpectArranged({"Statistics", "Particle inspector", "Properties", "Script log", "Timeline"});
}

TEST_F(WindowArrangementGL, AFourthWindowArrangesThemWithoutBeingAsked) {
    RunFrames(5);
    for (const char* entry : {"Statistics", "Properties", "Script log"})
        Choose(entry);
    RunFrames(2);
    EXPECT_FALSE(WindowsArranged) << "three windows keep their own places";
    Choose("Timeline");
    RunFrames(2);
    EXPECT_TRUE(WindowsArranged);
    ExpectArranged({"Statistics", "Properties", "Script log", "Timeline"});
}
