#include "font/particle_font.h"

#include "engine/gl_recorder.h"
#include "engine/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace lumidor {
namespace {

// Fills glyph `code` with `count` points spread over the left 0.4 of the cell, so the particles of
// a character at pen x = p (cell size 1) lie in [p - 0.5 px, p + 0.4 + 0.5 px].
void FillGlyph(TParticleFont& font, int code, int count) {
    for (int i = 0; i < count; ++i) {
        font.Letters[std::size_t(code)].Points.push_back({0.4f * float(i + 1) / float(count), -0.5f});
    }
}

class TextEmission : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(1234);
        font.CellWidth = 32;
        font.ParticlesPerLetter = 200;
        font.Proportional = true;
        font.Size = {0.05f, 0.05f, 0};
        font.Mass = 1;
        font.Inertia = {1, 1, 1};
        font.LifeBase = 100; // nothing dies while frames are advanced by 0 s
        font.LifeRange = 1;
    }
    std::int32_t Count() const { return ParticleCount(font.Effect); }
    // Particles whose x lies in the cell of the character drawn at pen x = penX (cell size 1).
    int CountNear(float penX, std::size_t from = 0) const {
        int n = 0;
        for (std::size_t i = from; i < font.Effect.Particles.size(); ++i) {
            const float x = font.Effect.Particles[i].Position.x;
            if (x > penX - 0.1f && x < penX + 0.45f) ++n;
        }
        return n;
    }
    TParticleFont font;
};

TEST_F(TextEmission, ProportionalSharesFollowThePointCounts) {
    FillGlyph(font, 'A', 300);
    FillGlyph(font, 'B', 150);
    SetText(font, "AB");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(font.TotalParticles, 300);
    ASSERT_EQ(font.LetterShares.size(), 2u);
    EXPECT_FLOAT_EQ(font.LetterShares[0], 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(font.LetterShares[1], 1.0f / 3.0f);
    EXPECT_EQ(font.DistributedText, "AB");
    // First frame: all 300 missing; the + 0.5 rounds 200.000006 and 100.000003 up.
    EXPECT_EQ(Count(), 302);
    EXPECT_EQ(CountNear(0), 201);
    EXPECT_EQ(CountNear(0.5f), 101);

    // Over the total: negative quotas emit nothing, and the shares are not recomputed.
    font.TotalParticles = 300;
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(Count(), 302);
}

TEST_F(TextEmission, TenMissingGiveSevenAndFourEachBatchOnOnePoint) {
    FillGlyph(font, 'A', 300);
    FillGlyph(font, 'B', 150);
    for (int i = 0; i < 290; ++i)
        AddParticle(font.Effect, {-50, -50, 0}, {0.05f, 0.05f, 0}, {1, 1, 1}, 0, 100);
    SetText(font, "AB");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    ASSERT_EQ(Count(), 301);
    EXPECT_EQ(CountNear(0, 290), 7);
    EXPECT_EQ(CountNear(0.5f, 290), 4);
    // Every particle of a batch lies within one glyph pixel (1/32) of the others.
    const float pixel = 1.0f / 32;
    for (const auto& [first, last] : {std::pair<std::size_t, std::size_t>{290, 297}, {297, 301}}) {
        for (std::size_t i = first; i < last; ++i) {
            EXPECT_LT(
                std::fabs(font.Effect.Particles[i].Position.x - font.Effect.Particles[first].Position.x),
                pixel);
            EXPECT_LT(
                std::fabs(font.Effect.Particles[i].Position.y - font.Effect.Particles[first].Position.y),
                pixel);
        }
    }
}

TEST_F(TextEmission, ParticlesSitOnTheirPointAtThePenWithHalfCellAdvanceAndLineBreaks) {
    font.Letters['X'].Points.push_back({0.5f, -0.25f});
    font.Proportional = false;
    font.ParticlesPerLetter = 3;
    // Leading carriage return: the first glyph already sits one line down, at the origin's x.
    SetText(font, std::string("\rXX\rX"));
    const TVector3 origin{-2.9f, 2, 0.5f};
    const float cell = 0.45f;
    UpdateAndDraw(font, origin, cell, 0);
    ASSERT_EQ(Count(), 9);
    const float t = cell / 32;
    const float expectedX[3] = {origin.x + cell * 0.5f, origin.x + cell * 0.5f + cell / 2,
                                origin.x + cell * 0.5f};
    const float expectedY[3] = {origin.y - cell * 0.25f - cell, origin.y - cell * 0.25f - cell,
                                origin.y - cell * 0.25f - 2 * cell};
    for (int c = 0; c < 3; ++c) {
        for (int j = 0; j < 3; ++j) {
            const TParticle& p = font.Effect.Particles[std::size_t(c * 3 + j)];
            EXPECT_NEAR(p.Position.x, expectedX[c], t / 2 + 1e-5f) << c;
            EXPECT_NEAR(p.Position.y, expectedY[c], t / 2 + 1e-5f) << c;
            EXPECT_FLOAT_EQ(p.Position.z, 0.5f);
        }
    }
}

TEST_F(TextEmission, AGlyphWithFewerPointsThanItsQuotaDrawsAFreshPointPerParticle) {
    FillGlyph(font, 'i', 3);
    font.Proportional = false;
    font.ParticlesPerLetter = 60;
    SetText(font, "i");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    ASSERT_EQ(Count(), 60);
    std::set<int> used;
    for (const TParticle& p : font.Effect.Particles)
        used.insert(int(std::lround((p.Position.x) / (0.4f / 3))));
    EXPECT_EQ(used, (std::set<int>{1, 2, 3}));

    // The even mode recomputes its quota every frame from the live count: none missing, none added.
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(Count(), 60);
}

TEST_F(TextEmission, EvenModeGivesEveryCharacterTheSameQuota) {
    FillGlyph(font, 'A', 300);
    FillGlyph(font, 'B', 5);
    font.Proportional = false;
    font.ParticlesPerLetter = 5;
    SetText(font, "AB");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(CountNear(0), 5);
    EXPECT_EQ(CountNear(0.5f), 5);
    // 4 die: 10 - 4 = 6 live, quota 5 - 6 div 2 = 2 per character.
    for (int i = 0; i < 4; ++i)
        font.Effect.Particles[std::size_t(i)].LifeLeft = -1;
    UpdateAndDraw(font, {0, 0, 0}, 1, 0); // removes them
    ASSERT_EQ(Count(), 6);
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(Count(), 10);
}

TEST_F(TextEmission, ChangingTheTextKeepsLiveParticlesAndRedistributesOnTheNextFrame) {
    FillGlyph(font, 'A', 300);
    FillGlyph(font, 'B', 150);
    SetText(font, "AB");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    ASSERT_EQ(Count(), 302);
    SetText(font, "B");
    EXPECT_EQ(font.TotalParticles, 300); // not before the next frame
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(font.TotalParticles, 200);
    EXPECT_EQ(font.DistributedText, "B");
    EXPECT_FLOAT_EQ(font.LetterShares[0], 1.0f);
    EXPECT_EQ(Count(), 302); // the old particles stay; 200 - 302 missing emits nothing
    // Setting the same text again keeps its shares (they are not recomputed).
    SetText(font, "B");
    EXPECT_FLOAT_EQ(font.LetterShares[0], 1.0f);
    // Once they die the new text fills in, all of it in the first cell.
    UpdateAndDraw(font, {0, 0, 0}, 1, 1000);
    ASSERT_EQ(Count(), 0);
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    EXPECT_EQ(Count(), 200); // 200 + 0.5 rounds to even
    EXPECT_EQ(CountNear(0), 200);
}

TEST_F(TextEmission, EmptyTextsAndPointlessGlyphsOnlyAdvanceTheContainer) {
    AddParticle(font.Effect, {0, 0, 0}, {0.05f, 0.05f, 0}, {1, 1, 1}, 0, 10);
    float lifeLeft = 10;
    for (const bool proportional : {true, false}) {
        font.Proportional = proportional;
        SetText(font, "");
        UpdateAndDraw(font, {0, 0, 0}, 1, 0.25f);
        SetText(font, "ab c"); // glyphs without points
        UpdateAndDraw(font, {0, 0, 0}, 1, 0.25f);
        EXPECT_EQ(font.TotalParticles, 0);
        for (float share : font.LetterShares)
            EXPECT_EQ(share, 0.0f);
        lifeLeft -= 0.5f;
        ASSERT_EQ(Count(), 1);                                        // nothing added
        EXPECT_FLOAT_EQ(font.Effect.Particles[0].LifeLeft, lifeLeft); // but the container advanced
    }
    EXPECT_EQ(CountGLCalls("DrawArrays"), 4);

    // A font that never loaded glyphs nor got a text draws nothing either.
    TParticleFont empty;
    UpdateAndDraw(empty, {0, 0, 0}, 0.45f, 0.1f);
    EXPECT_EQ(ParticleCount(empty.Effect), 0);
}

TEST_F(TextEmission, NewParticlesTakeTheFontsSettings) {
    FillGlyph(font, 'C', 4);
    font.Letters['C'].Colors = {
        {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}, {0.1f, 0.2f, 0.3f}};
    font.Tile = 1;
    font.Color = {1, 0.7f, 0.4f};
    font.Inertia = {3, 3, 3};
    font.Force = {0, 0.5f, 0};
    font.Mass = 2;
    font.LifeBase = 10;
    font.LifeRange = 1;
    font.VelocityBase = {1, 0, 0};
    font.VelocityRange = {0, 0, 2};
    font.AirResistance = 0.3f;
    font.Enlargement = {0.1f, 0.1f, 0};
    font.FadeOut = true;
    font.FadeIn = true;
    font.EndFadeIn = 0.2f;
    font.BeginFadeOut = 0.4f;
    font.Proportional = false;
    font.ParticlesPerLetter = 4;
    SetText(font, "C");
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    ASSERT_EQ(Count(), 4);
    for (const TParticle& p : font.Effect.Particles) {
        EXPECT_EQ(p.Tile, 1);
        EXPECT_FLOAT_EQ(p.Size.x, 0.05f);
        EXPECT_FLOAT_EQ(p.Color.y, 0.7f);
        EXPECT_FLOAT_EQ(p.Inertia.x, 3);
        EXPECT_FLOAT_EQ(p.Force.y, 0.5f);
        EXPECT_FLOAT_EQ(p.Mass, 2);
        EXPECT_GE(p.LifeLength, 10);
        EXPECT_LT(p.LifeLength, 11);
        EXPECT_FLOAT_EQ(p.Velocity.x, 0.5f); // (1 + R * 0) / mass: the mass is set before the velocity
        EXPECT_GE(p.Velocity.z, 0);
        EXPECT_LT(p.Velocity.z, 1);
        EXPECT_FLOAT_EQ(p.AirResistance, 0.3f);
        EXPECT_FLOAT_EQ(p.Enlargement.x, 0.1f);
        EXPECT_FLOAT_EQ(p.EndFadeIn, 0.2f);
        EXPECT_FLOAT_EQ(p.BeginFadeOut, 0.4f);
        EXPECT_TRUE(p.FadeOut);
        EXPECT_TRUE(p.FadeIn);
        EXPECT_FLOAT_EQ(p.FadeOutAlpha, 0); // fading set after the fade-in fraction
    }
    // With colours stored, each particle takes its point's colour.
    font.StoreColors = true;
    font.Effect.Particles.clear();
    UpdateAndDraw(font, {0, 0, 0}, 1, 0);
    ASSERT_EQ(Count(), 4);
    EXPECT_FLOAT_EQ(font.Effect.Particles[0].Color.x, 0.1f);
    EXPECT_FLOAT_EQ(font.Effect.Particles[0].Color.z, 0.3f);
}

} // namespace
} // namespace lumidor
