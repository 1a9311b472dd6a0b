#include "effects/text_effect.h"

#include "effects/frame_time.h"
#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "tests/terrain/test_bitmaps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace lumidor {
namespace {

namespace fs = std::filesystem;

// Runs each case in a fresh working directory, since the glyph sheet is found relative to it.
class TextEffect : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(7);
        TextFont = TParticleFont{};
        FrameTime = 0;
        previous = fs::current_path();
        directory =
            fs::path(::testing::TempDir()) /
            ("text_effect_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        fs::current_path(directory);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(directory);
    }
    fs::path previous;
    fs::path directory;
};

// A 512 x 256 sheet: glyph g (32 x 32 cell) gets a vertical bar of (g % 7 + 1) * 2 lit pixels,
// except space and carriage return, which stay empty.
void WriteSheet() {
    TRgbImage sheet = testing::SolidImage(512, 256, 0, 0, 0);
    for (int g = 33; g < 127; ++g) {
        const int x0 = (g % 16) * 32 + 4;
        const int y0 = (g / 16) * 32 + 4;
        for (int i = 0; i < (g % 7 + 1) * 2; ++i)
            testing::SetPixel(sheet, x0, y0 + i, 200, 180, 90);
    }
    fs::create_directories("fonts");
    testing::WriteBmp24("fonts/font.bmp", sheet);
}

TEST_F(TextEffect, TheMessageHasFourLinesWithOurCreditSecond) {
    const std::string message = TextMessage();
    std::vector<std::string> lines(1);
    for (char c : message) {
        if (c == char(13))
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Lumidor Particle Engine");
    EXPECT_FALSE(lines[1].empty());
    EXPECT_LE(lines[1].size(), 24u); // fits the 800 x 600 view at 0.225 units per character
    EXPECT_EQ(lines[2], "It's nice to see things");
    EXPECT_EQ(lines[3], "working :D");
}

TEST_F(TextEffect, InitReadsTheSheetAndAppliesTheTextSettings) {
    WriteSheet();
    InitTextEffect();
    EXPECT_EQ(TextFont.CellWidth, 32);
    EXPECT_EQ(TextFont.ParticlesPerLetter, 200);
    EXPECT_TRUE(TextFont.Proportional);
    EXPECT_FALSE(TextFont.StoreColors);
    EXPECT_EQ(TextFont.Letters['A'].Points.size(), std::size_t((65 % 7 + 1) * 2));
    EXPECT_TRUE(TextFont.Letters[13].Points.empty());
    // The particle settings of the preset: orange squares of 0.05 on tile 1 living under a second.
    EXPECT_FLOAT_EQ(TextFont.Inertia.x, 3);
    EXPECT_FLOAT_EQ(TextFont.Color.y, 0.7f);
    EXPECT_EQ(TextFont.Effect.BlendDst, GLenum(GL_DST_ALPHA));
    EXPECT_EQ(TextFont.Tile, 1);
    EXPECT_FLOAT_EQ(TextFont.LifeRange, 1);
    EXPECT_FLOAT_EQ(TextFont.Size.x, 0.05f);
    EXPECT_TRUE(TextFont.FadeIn);
    EXPECT_FLOAT_EQ(TextFont.BeginFadeOut, 0.4f);
    EXPECT_EQ(TextFont.Text, TextMessage());
}

TEST_F(TextEffect, ThePresetWritesTheMessageFromTheTopLeftOfTheView) {
    WriteSheet();
    InitTextEffect();
    TextPreset();
    ASSERT_GT(TextFont.TotalParticles, 0);
    const std::int32_t count = ParticleCount(TextFont.Effect);
    EXPECT_GE(count, TextFont.TotalParticles);
    EXPECT_LE(count, TextFont.TotalParticles + TextFont.TextLength);
    // Four lines of at most 24 characters, 0.225 apart, lines 0.45 apart, from (-2.9, 2).
    const float pixel = 0.45f / 32;
    float lowestY = 10;
    for (const TParticle& p : TextFont.Effect.Particles) {
        EXPECT_GE(p.Position.x, -2.9f - pixel);
        EXPECT_LE(p.Position.x, -2.9f + 23 * 0.225f + 0.45f);
        EXPECT_LE(p.Position.y, 2.0f);
        EXPECT_GE(p.Position.y, 2.0f - 4 * 0.45f - pixel);
        EXPECT_EQ(p.Position.z, 0.0f);
        lowestY = std::min(lowestY, p.Position.y);
    }
    EXPECT_LT(lowestY, 2.0f - 3 * 0.45f); // the fourth line is there
    // Later frames only replace what died.
    FrameTime = 0.01f;
    TextPreset();
    EXPECT_LE(ParticleCount(TextFont.Effect), count);
}

TEST_F(TextEffect, AMissingSheetStopsWithAnErrorAndLeavesTheFontEmpty) {
    try {
        InitTextEffect();
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot read the bitmap \"fonts\\font.bmp\": ", 0), 0u)
            << error.what();
    }
    EXPECT_EQ(TextFont.CellWidth, 0);
    EXPECT_FLOAT_EQ(TextFont.Mass, 0);
    EXPECT_TRUE(TextFont.Text.empty());
    // The preset then has nothing to show, and does not fail.
    TextPreset();
    EXPECT_EQ(ParticleCount(TextFont.Effect), 0);
}

} // namespace
} // namespace lumidor
