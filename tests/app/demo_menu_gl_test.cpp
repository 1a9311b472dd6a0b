// The demo driven the way a user drives it: its real window, effects and UI, with the mouse events
// injected into SDL's queue. Right-click for PopupMenu1, pick entries, drag the properties sliders.

#include "app/core/demo_hooks.h"
#include "app/core/effect_menu.h"
#include "app/core/effects_startup.h"
#include "app/core/properties_window.h"
#include "app/core/ui_item_rects.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/main_window.h"
#include "demo_window_fixture.h"
#include "effects/effects.h"
#include "effects/text_effect.h"
#include "png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace lumidor;

namespace {

class DemoMenuGL : public lumidor::testing::DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        StartDemo();
    }

    // An item is drawn: white text (at least minText pixels) on the UI's own background, not on the
    // black scene.
    void ExpectLegible(const lumidor::testing::TPngPicture& picture, const std::string& name,
                       int minText = 12) {
        const TItemRect rect = Shown(name);
        int text = 0, covered = 0, all = 0;
        for (int y = int(rect.Y0) + 1; y < int(rect.Y1) - 1; ++y)
            for (int x = int(rect.X0) + 1; x < int(rect.X1) - 1; ++x, ++all) {
                const std::uint8_t* p = picture.At(x, y);
                const int low = std::min({p[0], p[1], p[2]}), high = std::max({p[0], p[1], p[2]});
                text += low > 200;
                covered += high > 5;
            }
        EXPECT_GE(text, minText) << name << ": no text drawn";
        EXPECT_GE(covered, all * 9 / 10) << name << ": no background behind the text";
    }

    void MoveTo(float x, float y) {
        Push(SDL_MOUSEMOTION, x, y);
        RunFrames(2);
    }
    // The rectangle of an item drawn in the last frame; fails the test when it is not on screen.
    TItemRect Shown(const std::string& name) {
        EXPECT_TRUE(ItemShownInLastFrame(name)) << name << " is not on screen";
        return FindItemRect(name).value_or(TItemRect{});
    }
    void ClickItem(const std::string& name) {
        const TItemRect rect = Shown(name);
        Click(rect.CentreX(), rect.CentreY());
    }
    void OpenMenu(float x, float y) {
        Click(x, y, SDL_BUTTON_RIGHT);
        ASSERT_TRUE(ItemShownInLastFrame("Effects")) << "PopupMenu1 did not open";
    }
    // Presses on the slider's grab area, drags far past one end and lets go.
    void DragSlider(const std::string& label, bool toRight) {
        const TItemRect rect = Shown(label);
        Push(SDL_MOUSEMOTION, rect.CentreX(), rect.CentreY());
        Push(SDL_MOUSEBUTTONDOWN, rect.CentreX(), rect.CentreY());
        RunFrames(2);
        const float x = toRight ? rect.X1 + 80.0f : rect.X0 - 80.0f;
        MoveTo(x, rect.CentreY());
        Push(SDL_MOUSEBUTTONUP, x, rect.CentreY());
        RunFrames(2);
    }

    static void ExpectWind(const TParticleEffectContainer& container, float x, float y, float z) {
        EXPECT_NEAR(container.Wind.x, x, 1e-6f);
        EXPECT_NEAR(container.Wind.y, y, 1e-6f);
        EXPECT_NEAR(container.Wind.z, z, 1e-6f);
    }
};

} // namespace

TEST_F(DemoMenuGL, EffectsDebugModePropertiesAndExitFromThePopupMenu) {
    ASSERT_EQ(CurrentEffect, 0);
    EXPECT_FALSE(ItemShownInLastFrame("Effects")); // no menu until a right-click

    // Effects > Snow (10000): slot 16 runs, topping FloorEffect up to 10000 flakes.
    OpenMenu(460, 320);
    const TItemRect effects = Shown("Effects");
    MoveTo(effects.CentreX(), effects.CentreY());
    const lumidor::testing::TPngPicture menu = Picture();
    for (const char* entry : {"Debug mode", "Properties", "Exit", "Fire (300)", "Firework"})
        ExpectLegible(menu, entry);
    ClickItem("Snow (10000)");
    EXPECT_EQ(CurrentEffect, 16);
    EXPECT_FALSE(ItemShownInLastFrame("Effects")) << "the menu closes after a choice";
    RunFrames(1);
    EXPECT_GE(ParticleCount(FloorEffect), 9000);

    // Debug mode twice: the check mark and the three shared systems follow, the font does not.
    OpenMenu(300, 250);
    ClickItem("Debug mode");
    EXPECT_TRUE(DebugMode1Checked);
    EXPECT_TRUE(FloorEffect.DebugMode && AdditiveEffect.DebugMode && TerrainEffect.DebugMode);
    EXPECT_TRUE(Scripts[0].Containers.front().DebugMode);
    OpenMenu(300, 250);
    ClickItem("Debug mode");
    EXPECT_FALSE(DebugMode1Checked);
    EXPECT_FALSE(FloorEffect.DebugMode || AdditiveEffect.DebugMode || TerrainEffect.DebugMode);
    EXPECT_FALSE(TextFont.Effect.DebugMode);

    // Properties: Wind X to 100, then Wind Y to 0.
    OpenMenu(600, 150);
    ClickItem("Properties");
    ASSERT_TRUE(Properties.Visible);
    const lumidor::testing::TPngPicture tool = Picture();
    ExpectLegible(tool, "Close");
    ExpectLegible(tool, "Wind Z:", 0); // a bar without text
    ExpectLegible(tool, "World friction X:", 0);
    const TItemRect close = Shown("Close");
    EXPECT_NEAR(close.X0 - Shown("Wind X:").X0, 116.0f, 1.0f); // button at 120, bar at 4 in the client area
    DragSlider("Wind X:", true);
    EXPECT_EQ(Properties.Positions[0], 100);
    ExpectWind(FloorEffect, 10, 0, 0);
    DragSlider("Wind Y:", false);
    EXPECT_EQ(Properties.Positions[1], 0);
    for (const TParticleEffectContainer* shared : {&FloorEffect, &AdditiveEffect, &TerrainEffect})
        ExpectWind(*shared, 10, -10, 0);
    ExpectWind(TextFont.Effect, 0, 0, 0);
    for (const TParticleScript& script : Scripts)
        for (const TParticleEffectContainer& container : script.Containers)
            ExpectWind(container, 0, 0, 0);
    EXPECT_NEAR(TerrainEffect.World.WorldFriction.y, 0.5f, 1e-6f); // no friction slider moved

    // The keyboard: the arrows move the focus between the sliders (right to "World friction Y:" and
    // back), Space takes hold of the focused one, one press of the right arrow is one step, Escape
    // lets go.
    for (SDL_Scancode code : {SDL_SCANCODE_RIGHT, SDL_SCANCODE_LEFT, SDL_SCANCODE_SPACE, SDL_SCANCODE_RIGHT,
                              SDL_SCANCODE_ESCAPE}) {
        for (Uint32 type : {Uint32(SDL_KEYDOWN), Uint32(SDL_KEYUP)}) {
            SDL_Event key{};
            key.type = type;
            key.key.keysym.scancode = code;
            key.key.keysym.sym = SDL_GetKeyFromScancode(code);
            ASSERT_EQ(SDL_PushEvent(&key), 1);
            RunFrames(1);
        }
    }
    EXPECT_EQ(Properties.Positions[1], 1);
    ExpectWind(FloorEffect, 10, -9.8f, 0);
    EXPECT_EQ(Properties.Positions[4], 50); // passing over a slider does not move it

    // A right-click on the properties window is not one on the drawing surface.
    const TItemRect windX = Shown("Wind X:");
    Click(windX.CentreX(), windX.CentreY() - 20.0f, SDL_BUTTON_RIGHT);
    EXPECT_FALSE(ItemShownInLastFrame("Effects"));
    ClickItem("Close");
    EXPECT_FALSE(Properties.Visible);
    EXPECT_EQ(Properties.Positions[0], 100);

    // Exit ends the frame loop before its frames are drawn.
    OpenMenu(650, 200);
    const TItemRect exit = Shown("Exit");
    int framesAfterExit = 0;
    const auto effectPass = hooks.EffectPass;
    hooks.EffectPass = [&](const TFrameView& view) {
        ++framesAfterExit;
        effectPass(view);
    };
    Push(SDL_MOUSEMOTION, exit.CentreX(), exit.CentreY());
    Push(SDL_MOUSEBUTTONDOWN, exit.CentreX(), exit.CentreY());
    Push(SDL_MOUSEBUTTONUP, exit.CentreX(), exit.CentreY());
    TCommandLine options;
    options.Frames = 50;
    EXPECT_EQ(RunFrameLoop(window, hooks, options), 0);
    EXPECT_LE(framesAfterExit, 3);
}
