#include "font/particle_font.h"

#include "engine/gl_recorder.h"
#include "tests/terrain/test_bitmaps.h"

#include <gtest/gtest.h>

namespace lumidor {
namespace {

using testing::SetPixel;
using testing::SolidImage;

std::size_t TotalPoints(const TParticleFont& font) {
    std::size_t total = 0;
    for (const TLetter& letter : font.Letters)
        total += letter.Points.size();
    return total;
}

TEST(LoadGlyphs, APixelInTheFirstCellOfA512By256Sheet) {
    TRgbImage sheet = SolidImage(512, 256, 0, 0, 0);
    SetPixel(sheet, 0, 0, 255, 255, 255);
    TParticleFont font;
    LoadGlyphs(font, sheet, 200, 0, true, false);
    EXPECT_EQ(font.CellWidth, 32);
    EXPECT_EQ(font.ParticlesPerLetter, 200);
    EXPECT_TRUE(font.Proportional);
    EXPECT_FALSE(font.StoreColors);
    ASSERT_EQ(font.Letters[0].Points.size(), 1u);
    EXPECT_FLOAT_EQ(font.Letters[0].Points[0].x, 1.0f / 32);
    EXPECT_FLOAT_EQ(font.Letters[0].Points[0].y, -1.0f / 32);
    EXPECT_TRUE(font.Letters[0].Colors.empty());
    EXPECT_EQ(TotalPoints(font), 1u);
}

TEST(LoadGlyphs, CellCornersBelongToTheRightGlyph) {
    TRgbImage sheet = SolidImage(512, 256, 0, 0, 0);
    SetPixel(sheet, 31, 31, 255, 255, 255);   // bottom-right of glyph 0
    SetPixel(sheet, 32, 0, 255, 255, 255);    // top-left of glyph 1
    SetPixel(sheet, 511, 255, 255, 255, 255); // bottom-right of glyph 127
    TParticleFont font;
    LoadGlyphs(font, sheet, 200, 0, true, false);
    ASSERT_EQ(font.Letters[0].Points.size(), 1u);
    EXPECT_FLOAT_EQ(font.Letters[0].Points[0].x, 1.0f);
    EXPECT_FLOAT_EQ(font.Letters[0].Points[0].y, -1.0f);
    ASSERT_EQ(font.Letters[1].Points.size(), 1u);
    EXPECT_FLOAT_EQ(font.Letters[1].Points[0].x, 1.0f / 32);
    EXPECT_FLOAT_EQ(font.Letters[1].Points[0].y, -1.0f / 32);
    ASSERT_EQ(font.Letters[127].Points.size(), 1u);
    EXPECT_TRUE(font.Letters[128].Points.empty());
}

TEST(LoadGlyphs, ASheetWhoseWidthIsNotAMultipleOf16) {
    // 500 pixels: cw = 32, the last cell column runs from 480 to 511, past the edge at 499.
    TRgbImage sheet = SolidImage(500, 256, 0, 0, 0);
    SetPixel(sheet, 499, 40, 255, 255, 255);
    SetPixel(sheet, 31, 0, 255, 255, 255);
    TParticleFont font;
    LoadGlyphs(font, sheet, 200, 0, true, false);
    EXPECT_EQ(font.CellWidth, 32);
    ASSERT_EQ(font.Letters[16 + 15].Points.size(), 1u); // row 1 (y 32..63), column 15
    EXPECT_FLOAT_EQ(font.Letters[31].Points[0].x, 20.0f / 32);
    EXPECT_FLOAT_EQ(font.Letters[31].Points[0].y, -9.0f / 32);
    ASSERT_EQ(font.Letters[0].Points.size(), 1u);
    EXPECT_EQ(TotalPoints(font), 2u);
}

TEST(LoadGlyphs, ThresholdIsStrictAndColoursAreKeptWhenAsked) {
    TRgbImage sheet = SolidImage(16, 8, 0, 0, 0); // 1 x 1 cells: glyph g is pixel (g % 16, g / 16)
    SetPixel(sheet, 1, 0, 128, 0, 0);
    SetPixel(sheet, 2, 0, 0, 129, 0);
    SetPixel(sheet, 3, 0, 0, 0, 255);
    TParticleFont font;
    LoadGlyphs(font, sheet, 10, 128.0f / 255.0f, false, true);
    EXPECT_EQ(font.CellWidth, 1);
    EXPECT_FALSE(font.Proportional);
    EXPECT_TRUE(font.StoreColors);
    EXPECT_TRUE(font.Letters[1].Points.empty()); // equal to the threshold: unlit
    ASSERT_EQ(font.Letters[2].Points.size(), 1u);
    ASSERT_EQ(font.Letters[2].Colors.size(), 1u);
    EXPECT_FLOAT_EQ(font.Letters[2].Colors[0].y, 129.0f / 255.0f);
    ASSERT_EQ(font.Letters[3].Colors.size(), 1u);
    EXPECT_FLOAT_EQ(font.Letters[3].Colors[0].z, 1.0f);
    EXPECT_EQ(TotalPoints(font), 2u);

    // Threshold 0: any non-black pixel is lit, black never.
    TParticleFont any;
    LoadGlyphs(any, sheet, 10, 0, true, false);
    EXPECT_EQ(TotalPoints(any), 3u);
}

TEST(LoadGlyphs, AnEmptyOrTinyPictureYieldsWhatItHas) {
    TParticleFont font;
    LoadGlyphs(font, TRgbImage{}, 200, 0, true, false);
    EXPECT_EQ(TotalPoints(font), 0u);
    LoadGlyphs(font, SolidImage(3, 2, 255, 255, 255), 200, 0, true, false);
    EXPECT_EQ(TotalPoints(font), 6u); // 1 x 1 cells, glyphs 0..2 and 16..18
    EXPECT_EQ(font.Letters[18].Points.size(), 1u);
}

TEST(SetText, IndicesSharesAndCodesAbove127) {
    EXPECT_EQ(LetterIndexOf('A'), 65);
    EXPECT_EQ(LetterIndexOf(char(200)), 0);
    EXPECT_EQ(LetterIndexOf(char(127)), 127);
    EXPECT_EQ(LetterIndexOf(char(13)), 13);

    TParticleFont font;
    SetText(font, std::string("A") + char(200) + "\r");
    EXPECT_EQ(font.TextLength, 3);
    EXPECT_EQ(font.LetterIndices, (std::vector<std::int32_t>{65, 0, 13}));
    EXPECT_EQ(font.LetterShares.size(), 3u);
    EXPECT_TRUE(font.DistributedText.empty());

    SetText(font, "");
    EXPECT_EQ(font.TextLength, 0);
    EXPECT_TRUE(font.LetterIndices.empty());
    EXPECT_TRUE(font.LetterShares.empty());
    EXPECT_TRUE(font.Text.empty());
}

TEST(FontSetters, ContainerSettingsAreForwardedToTheFontsContainer) {
    InstallGLRecorder();
    TParticleFont font;
    SetBlendFactor(font, GL_SRC_ALPHA, GL_DST_ALPHA);
    SetTextureProperties(font, 7, 2, 4);
    EXPECT_EQ(font.Effect.BlendSrc, GLenum(GL_SRC_ALPHA));
    EXPECT_EQ(font.Effect.BlendDst, GLenum(GL_DST_ALPHA));
    EXPECT_EQ(font.Effect.Texture, 7u);
    EXPECT_EQ(font.Effect.TextureTiles.size(), 8u);
}

} // namespace
} // namespace lumidor
