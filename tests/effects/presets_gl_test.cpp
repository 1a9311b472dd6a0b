// Every preset drawn under Mesa the way the demo draws it (perspective 45 degrees, camera 5 units
// back, depth writes off around the effect, the demo's atlas and height map from data/), 90 frames
// of 1/30 s. Each picture must show its effect's character: lit pixels where the effect is, in
// the colours its name promises. Set LUMIDOR_TEST_PICTURES to a folder to keep the pictures.

#include "effects/effect_slots.h"
#include "effects/effects.h"
#include "engine/message.h"
#include "engine/random.h"
#include "tests/gl/gl_context.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

constexpr int Width = 400;
constexpr int Height = 300;

void FailOnMessage(const std::string& text, const std::string& caption, TMessageIcon) {
    ADD_FAILURE() << "unexpected message: " << caption << ": " << text;
}

/// What the demo's start-up sets before the first frame: depth test, textures, material, light.
void SetUpDemoState() {
    GL.Enable(GL_DEPTH_TEST);
    GL.Enable(GL_TEXTURE_2D);
    const GLfloat specular[] = {1, 1, 1, 1}, ambient[] = {0.4f, 0.4f, 0.4f, 1},
                  diffuse[] = {0.4f, 0.8f, 0.4f, 1};
    GL.Materialfv(GL_FRONT, GL_SPECULAR, specular);
    GL.Materialf(GL_FRONT, GL_SHININESS, 50);
    GL.Materialfv(GL_FRONT, GL_AMBIENT, ambient);
    GL.Materialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    const GLfloat lightAmbient[] = {0.7f, 0.7f, 0.7f, 1}, lightDiffuse[] = {1, 1, 1, 1},
                  lightPosition[] = {100, 100, 0, 1};
    GL.Lightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    GL.Lightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    GL.Lightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

/// One demo frame of `slot`.
void DrawDemoFrame(int slot) {
    GL.MatrixMode(GL_PROJECTION);
    GL.LoadIdentity();
    GL.gluPerspective(45.0, double(Width) / Height, 0.05, 100.0);
    GL.Viewport(0, 0, Width, Height);
    GL.MatrixMode(GL_MODELVIEW);
    GL.LoadIdentity();
    GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GL.ClearColor(0, 0, 0, 1);
    GL.Translatef(0, 0, -5);
    GL.DepthMask(GL_FALSE);
    RunEffectSlot(slot, {});
    GL.DepthMask(GL_TRUE);
}

struct TPicture {
    int Lit = 0;                ///< pixels with a channel above 24
    double R = 0, G = 0, B = 0; ///< mean colour of the lit pixels, 0..255
    double LitTop = 0;          ///< share of lit pixels in the upper half of the picture
};

TPicture Analyse(const std::vector<std::uint8_t>& rgba) {
    TPicture p;
    int top = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const std::uint8_t* px = &rgba[(std::size_t(y) * Width + std::size_t(x)) * 4];
            if (px[0] <= 24 && px[1] <= 24 && px[2] <= 24) continue;
            ++p.Lit;
            p.R += px[0];
            p.G += px[1];
            p.B += px[2];
            top += y >= Height / 2 ? 1 : 0; // rows are bottom first
        }
    }
    if (p.Lit > 0) {
        p.R /= p.Lit;
        p.G /= p.Lit;
        p.B /= p.Lit;
        p.LitTop = double(top) / p.Lit;
    }
    return p;
}

/// Frames of 1/30 s after which the effect is seen at its best; 90 (3 s) unless the effect has
/// left the view by then: the spirals' pulse drives the dots out of the picture within a
/// second or two, the magnesium flash shows on every other frame, and a firework bursts and
/// glitters between 0.75 and 1.9 s of its 2.5 s cycle.
int FramesToShow(int slot) {
    switch (slot) {
    case 5:
        return 20;
    case 15:
        return 20;
    case 7:
        return 89;
    case 18:
        return 45;
    default:
        return 90;
    }
}

class PresetPicture : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        if (!lumidor::testing::EnsureGLContext(Width, Height)) GTEST_SKIP() << "no OpenGL context";
        previous = std::filesystem::current_path();
        std::filesystem::current_path(LUMIDOR_SOURCE_DIR "/data");
        previousHandler = SetMessageHandler(&FailOnMessage);
        SetUpDemoState();
        ResetEffectsForTesting();
        InitEffects();
        InitTerrainEffect();
        SeedRandom(1);
        FrameTime = 0.0333f;
    }
    void TearDown() override {
        if (previousHandler) SetMessageHandler(previousHandler);
        if (!previous.empty()) std::filesystem::current_path(previous);
        ResetEffectsForTesting();
        FrameTime = 0;
    }

    TPicture Render(int slot, int frames) {
        for (int frame = 0; frame < frames; ++frame)
            DrawDemoFrame(slot);
        std::vector<std::uint8_t> rgba = lumidor::testing::ReadBackBuffer(Width, Height);
        lumidor::testing::KeepPicture(rgba, Width, Height, "preset_" + std::to_string(slot));
        return Analyse(rgba);
    }

  private:
    std::filesystem::path previous;
    TMessageHandler previousHandler = nullptr;
};

TEST_P(PresetPicture, ShowsItsEffect) {
    const int slot = GetParam();
    const TPicture p = Render(slot, FramesToShow(slot));
    std::printf("slot %2d %-28s lit %6d  mean (%5.1f, %5.1f, %5.1f)  top %.2f\n", slot,
                EffectSlotCaption(slot), p.Lit, p.R, p.G, p.B, p.LitTop);
    const int all = Width * Height;
    const bool blueish = p.B > p.R + 20, orange = p.R > p.B + 30, grey = std::abs(p.R - p.B) < 12;
    switch (slot) {
    case 0: // fire: orange flames rising above their base
        EXPECT_GT(p.Lit, 3000);
        EXPECT_TRUE(orange);
        EXPECT_GT(p.LitTop, 0.5);
        break;
    case 1: // grey smoke
    case 14:
        EXPECT_GT(p.Lit, slot == 14 ? all * 9 / 10 : 5000);
        EXPECT_TRUE(grey);
        break;
    case 2: // the remains of a burst: embers, sparks and smoke
        EXPECT_GT(p.Lit, 5000);
        EXPECT_GE(p.R, p.B);
        break;
    case 3: // a blue flame
    case 4: // blue water
    case 5: // blue-white dots
    case 6:
    case 15:
        EXPECT_GT(p.Lit, 3000);
        EXPECT_TRUE(blueish);
        break;
    case 7: // a white flash over dark smoke
        EXPECT_GT(p.Lit, 1000);
        EXPECT_GT(p.R + p.G + p.B, 150);
        break;
    case 8: // an orange ring of flames under a pale fountain
        EXPECT_GT(p.Lit, 5000);
        EXPECT_GT(p.R, p.B + 20);
        break;
    case 9: // a pale blue fountain
        EXPECT_GT(p.Lit, 3000);
        EXPECT_TRUE(blueish);
        break;
    case 10: // the lit terrain, coloured by its normals (mostly green), fills the view
        EXPECT_GT(p.Lit, all * 9 / 10);
        EXPECT_GT(p.G, p.R + 10);
        EXPECT_GT(p.G, p.B + 10);
        break;
    case 16: // white flakes everywhere, a layer of them on the floor
        EXPECT_GT(p.Lit, 20000);
        EXPECT_GE(p.B, p.R);
        EXPECT_GT(p.LitTop, 0.3);
        break;
    case 18: // a coloured burst high in the sky
        EXPECT_GT(p.Lit, 1000);
        EXPECT_GT(p.LitTop, 0.8);
        break;
    default:
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPreset, PresetPicture,
                         ::testing::Values(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 18),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Slot" + std::to_string(info.param);
                         });

} // namespace
