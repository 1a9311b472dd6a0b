// The first frame of every preset on empty containers: how many particles land in which system,
// and what each of them carries (position range, size, colour, tile, life, force, inertia, mass,
// stored velocity, fading).

#include "effects_fixture.h"

#include <cmath>
#include <numbers>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

using FirstFrame = EffectsTest;

TEST_F(FirstFrame, FireFillsSmokeAndFlames) {
    FirePreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 20);
    ASSERT_EQ(ParticleCount(FloorEffect), 300);
    TParticleExpectation smoke{.Position = {{-0.25f, 0.25f}, Exactly(-0.25f), {-0.5f, 0.5f}},
                               .Size = {0.5f, 0.5f, 0},
                               .Color = {0.1f, 0.1f, 0.1f},
                               .Tile = 1,
                               .Life = {0, 2},
                               .Force = Exactly3(0, 5, 0),
                               .Inertia = {0.1f, 0.1f, 0.1f},
                               .Enlargement = {1.4f, 1.4f, 0},
                               .Velocity = {{-0.5f, 0.5f}, {0, 0.5f}, {-0.5f, 0.5f}},
                               .BeginFadeOut = 0.2f,
                               .EndFadeIn = 0.2f,
                               .FadeOutAlpha = 0.0f};
    ExpectParticles(AdditiveEffect, 0, 20, smoke);
    TParticleExpectation flame = smoke;
    flame.Position = {{-0.25f, 0.25f}, Exactly(-0.5f), {-0.5f, 0.5f}};
    flame.Color = {1, 0.6f, 0.3f};
    flame.Tile = 3;
    flame.Life = {0, 1};
    flame.Enlargement = {0.1f, 0.1f, 0};
    flame.EndFadeIn = 0;
    flame.FadeOutAlpha = 1;
    ExpectParticles(FloorEffect, 0, 300, flame);
}

TEST_F(FirstFrame, FireWithZeroFrameTimeStillTopsUpAndAgesNothing) {
    FrameTime = 0;
    FirePreset();
    const float life = FloorEffect.Particles[0].LifeLength;
    FirePreset();
    EXPECT_EQ(ParticleCount(FloorEffect), 300);
    EXPECT_EQ(ParticleCount(AdditiveEffect), 20);
    EXPECT_EQ(FloorEffect.Particles[0].LifeLeft, life);
}

TEST_F(FirstFrame, SmokeTwoRisesFromALineSource) {
    Smoke2Preset();
    ASSERT_EQ(ParticleCount(FloorEffect), 200);
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0);
    ExpectParticles(FloorEffect, 0, 200,
                    {.Position = {{-0.5f, 0.5f}, Exactly(-0.5f), Exactly(0)},
                     .Size = {0.6f, 0.6f, 0},
                     .Color = {0.1f, 0.1f, 0.1f},
                     .Tile = 1,
                     .Life = {1, 3},
                     .Force = Exactly3(0, 1, 0),
                     .Inertia = {1, 1, 1},
                     .Enlargement = {0.2f, 0.2f, 0.2f},
                     .Mass = 0.05f,
                     .Velocity = {{-0.5f, 0.5f}, {-0.5f, 0.5f}, {-0.5f, 0.5f}},
                     .BeginFadeOut = 0.6f});
}

TEST_F(FirstFrame, SmokeOneFillsAWideBoxAndFadesIn) {
    Smoke1Preset();
    ASSERT_EQ(ParticleCount(FloorEffect), 200);
    ExpectParticles(FloorEffect, 0, 200,
                    {.Position = {{-3, 3}, {-2, 2}, {0, 1}},
                     .Size = {0.6f, 0.6f, 0},
                     .Color = {0.05f, 0.05f, 0.05f},
                     .Tile = 1,
                     .Life = {2, 4},
                     .Inertia = {1, 1, 1},
                     .Enlargement = {1, 1, 1},
                     .Mass = 0.05f,
                     .Velocity = {{-0.5f, 0.5f}, Exactly(0), {-0.5f, 0.5f}},
                     .BeginFadeOut = 0.9f,
                     .EndFadeIn = 0.1f,
                     .FadeOutAlpha = 0.0f});
}

TEST_F(FirstFrame, BurnerLeansAwayFromTheViewer) {
    BurnerPreset();
    ASSERT_EQ(ParticleCount(FloorEffect), 400);
    ExpectParticles(FloorEffect, 0, 400,
                    {.Position = Exactly3(0, -0.5f, 0),
                     .Size = {0.6f, 0.6f, 0},
                     .Color = {0.1f, 0.3f, 0.7f},
                     .Tile = 3,
                     .Life = {0.1f, 0.6f},
                     .Force = Exactly3(0, 20, 0),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Enlargement = {0.2f, 0.2f, 0.2f},
                     .Mass = 0.5f,
                     .Velocity = {{-0.05f, 0.05f}, Exactly(0), {-0.5f, -0.4f}}});
}

TEST_F(FirstFrame, MagnesiumSmokeAndFlash) {
    FrameTime = 0.05f;
    AflamedMagnesiumPreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 41);
    ExpectParticles(AdditiveEffect, 0, 41,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.1f, 0.12f, 0.15f},
                     .Tile = 1,
                     .Life = {0, 2},
                     .Force = Exactly3(0, 2, 0),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Enlargement = {0.7f, 0.7f, 0},
                     .Mass = 0.2f,
                     .Velocity = {{-0.5f, 0.5f}, Exactly(0), {-0.5f, 0.5f}}});
    // The timer reached 0.05: one flash, and the timer starts over.
    EXPECT_EQ(EffectTimer, 0.0f);
    const TParticle& flash = FloorEffect.Particles.back();
    EXPECT_EQ(flash.Tile, 6);
    EXPECT_GE(flash.Size.x, 1.0f);
    EXPECT_LT(flash.Size.x, 2.0f);
    EXPECT_EQ(flash.Size.y, flash.Size.x);
    EXPECT_EQ(flash.Size.z, 0.0f);
    ExpectVec(flash.Color, {1, 1, 1}, "Color", 0);
    EXPECT_FLOAT_EQ(flash.LifeLength, 0.05f);
    EXPECT_FALSE(flash.FadeOut);
    EXPECT_FALSE(flash.FadeIn);
    EXPECT_EQ(flash.FadeOutAlpha, 1.0f);
}

TEST_F(FirstFrame, MagnesiumSparksComeOnlyInShowersOfFive) {
    // With no time passing nothing dies and the flash timer stays at 0, so FloorEffect collects
    // only spark showers: one per 600 frames on average.
    FrameTime = 0;
    for (int frame = 0; frame < 3000; ++frame)
        AflamedMagnesiumPreset();
    const std::int32_t sparks = ParticleCount(FloorEffect);
    EXPECT_GT(sparks, 0);
    EXPECT_LT(sparks, 100);
    EXPECT_EQ(sparks % 5, 0);
    ExpectParticles(FloorEffect, 0, sparks,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.7f, 0.4f, 0.1f},
                     .Tile = 5,
                     .Life = {0, 2},
                     .Force = Exactly3(0, -9.1f, 0),
                     .Inertia = {0.4f, 0.4f, 0.4f},
                     .Mass = 0.7f,
                     .Velocity = {{-1 / 0.7f, 1 / 0.7f}, {0, 1 / 0.7f}, {-1 / 0.7f, 1 / 0.7f}},
                     // Later frames with no time passing have run their fade-in ramp (0 / 0).
                     .CheckFadeOutAlpha = false});
    EXPECT_EQ(ParticleCount(AdditiveEffect), 41);
}

TEST_F(FirstFrame, ExplosionBurstsInFiveGroups) {
    EffectTimer = 1.99f;
    ExplosionPreset();
    ASSERT_EQ(ParticleCount(FloorEffect), 166);
    EXPECT_EQ(EffectTimer, 0.0f);
    TParticleExpectation cloud{.Position = Exactly3(0, 0, 0),
                               .Size = {0.5f, 0.5f, 0},
                               .Color = {0.7f, 0.3f, 0.1f},
                               .Tile = 1,
                               .Life = {0.3f, 1.3f},
                               .Force = Exactly3(0, -0.025f, 0),
                               .Inertia = {0.1f, 0.1f, 0.1f},
                               .Enlargement = {0.1f, 0.1f, 0.1f},
                               .Mass = 0.2f,
                               .Velocity = {{-1, 1}, {-1, 1}, {-1, 1}}};
    ExpectParticles(FloorEffect, 0, 80, cloud);
    TParticleExpectation smoke = cloud;
    smoke.Color = {0.3f, 0.3f, 0.3f};
    smoke.Life = {1, 2};
    smoke.Enlargement = {3, 3, 3};
    smoke.Mass = 0.1f;
    smoke.Velocity = {{-1.5f, 1.5f}, {-1.5f, 1.5f}, {-1.5f, 1.5f}};
    ExpectParticles(FloorEffect, 80, 15, smoke);
    ExpectParticles(FloorEffect, 95, 50,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {1, 0.6f, 0},
                     .Tile = 4,
                     .Life = {0.1f, 0.6f},
                     .Inertia = {1, 1, 1},
                     .Mass = 0.1f,
                     .Velocity = {{-5, 5}, {-5, 5}, {-5, 5}}});
    ExpectParticles(FloorEffect, 145, 20,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {0.5f, 0.5f, 0},
                     .Color = {1, 0.5f, 0},
                     .Tile = 5,
                     .Life = {2.5f, 3.5f},
                     .Force = Exactly3(0, -9.81f, 0),
                     .Inertia = {1, 1, 1},
                     .Velocity = {{-2.5f, 2.5f}, {-2.5f, 2.5f}, {-2.5f, 2.5f}}});
    ExpectParticles(FloorEffect, 165, 1,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {10, 10, 0},
                     .Color = {0.9f, 0.9f, 1},
                     .Tile = 6,
                     .Life = Exactly(0.15f),
                     .Enlargement = {-30, -30, 0},
                     .BeginFadeOut = 0.4f});
}

TEST_F(FirstFrame, ExplosionWaitsTwoSeconds) {
    FrameTime = 0.5f;
    for (int frame = 0; frame < 3; ++frame)
        ExplosionPreset();
    EXPECT_EQ(ParticleCount(FloorEffect), 0);
    EXPECT_FLOAT_EQ(EffectTimer, 1.5f);
    ExplosionPreset();
    EXPECT_EQ(ParticleCount(FloorEffect), 166);
}

TEST_F(FirstFrame, MagicWaterDropsAndSplashes) {
    MagicWaterPreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 800);
    ASSERT_EQ(ParticleCount(FloorEffect), 30);
    ExpectParticles(AdditiveEffect, 0, 800,
                    {.Position = {{-0.5f, 0.5f}, Exactly(1), Exactly(0)},
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.35f, 0.4f, 0.5f},
                     .Tile = 3,
                     .Life = {0.45f, 0.65f},
                     .Force = Exactly3(0, -9.81f, 0),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Mass = 0.5f,
                     .Velocity = {{-0.5f, 0.5f}, {-0.5f, 0}, {0, 1}},
                     .FadeOut = false,
                     .FadeIn = false});
    ExpectParticles(FloorEffect, 0, 30,
                    {.Position = {{-0.6f, 0.6f}, Exactly(-1), Exactly(0)},
                     .Size = {0.4f, 0.4f, 0},
                     .Color = {0.3f, 0.333f, 1},
                     .Tile = 1,
                     .Life = {0.5f, 1},
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Enlargement = {1, 1, 1},
                     .Mass = 0.5f});
}

TEST_F(FirstFrame, EffectOneRingOfFlamesAndFountain) {
    Effect1Preset();
    ASSERT_EQ(ParticleCount(FloorEffect), 300);
    ASSERT_EQ(ParticleCount(AdditiveEffect), 2000);
    EXPECT_FLOAT_EQ(EffectTimer, 0.02f);
    ExpectParticles(FloorEffect, 0, 300,
                    {.Position = {{-0.5f, 0.5f}, Exactly(-0.8f), {-0.5f, 0.5f}},
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {1, 0.4f, 0.1f},
                     .Tile = 1,
                     .Life = {0, 2},
                     .Force = {{-0.125f, 0.125f}, Exactly(0), {-0.125f, 0.125f}},
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Enlargement = {0.1f, 0.1f, 0},
                     .Velocity = {{-0.2f, 0.2f}, Exactly(0), {-0.2f, 0.2f}}});
    for (const TParticle& p : FloorEffect.Particles) {
        // On the ring of radius 0.5 at a whole-degree angle, moving outwards at 0.2.
        EXPECT_NEAR(std::hypot(p.Position.x, p.Position.z), 0.5f, 1e-5f);
        const double degrees = std::atan2(p.Position.z, p.Position.x) * 180.0 / std::numbers::pi;
        EXPECT_NEAR(degrees, std::round(degrees), 1e-3);
        EXPECT_NEAR(p.Velocity.x, p.Position.x * 0.4f, 1e-6f);
        EXPECT_NEAR(p.Velocity.z, p.Position.z * 0.4f, 1e-6f);
    }
    ExpectParticles(AdditiveEffect, 0, 2000,
                    {.Position = Exactly3(0, -0.8f, 0),
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.14f, 0.15f, 0.2f},
                     .Tile = 6,
                     .Life = {0, 1},
                     .Force = Exactly3(0, -9.81f, 0),
                     .Inertia = {0.4f, 0.4f, 0.4f},
                     .Velocity = {{-1, 1}, {4, 4.5f}, {-1, 1}},
                     .BeginFadeOut = 0.7f});
    for (const TParticle& p : AdditiveEffect.Particles) {
        EXPECT_NEAR(std::hypot(p.Velocity.x, p.Velocity.z), 1.0f, 1e-5f);
    }
}

TEST_F(FirstFrame, EffectTwoFountainSwingsWithTheTimer) {
    FrameTime = 1.0f;
    Effect2Preset();
    ASSERT_EQ(ParticleCount(FloorEffect), 2000);
    const float swing = std::sin(1.0f);
    ExpectParticles(FloorEffect, 0, 2000,
                    {.Position = {{-1 / 30.0f, 1 / 30.0f}, Exactly(-0.8f), {-1 / 30.0f, 1 / 30.0f}},
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.1f, 0.12f, 0.17f},
                     .Tile = 4,
                     .Life = {2, 5},
                     .Force = Exactly3(0, -3, 0),
                     .Inertia = {1, 1, 1},
                     .Enlargement = {0.1f, 0.1f, 0},
                     .Velocity = {{-swing, swing}, Exactly(2), {-swing, swing}},
                     .BeginFadeOut = 0.9f});
    for (const TParticle& p : FloorEffect.Particles) {
        EXPECT_NEAR(std::hypot(p.Velocity.x, p.Velocity.z), swing, 1e-5f);
        EXPECT_NEAR(std::hypot(p.Position.x, p.Position.z), 1 / 30.0f, 1e-6f);
    }
}

TEST_F(FirstFrame, SnowAddsTenThousandFlakesAtOnce) {
    SnowPreset();
    ASSERT_EQ(ParticleCount(FloorEffect), 10000);
    ExpectParticles(FloorEffect, 0, 10000,
                    {.Position = {{-5, 5}, Exactly(3), {-2.5f, 2.5f}},
                     .Size = {0.1f, 0.1f, 0},
                     .Color = {0.9f, 0.9f, 1},
                     .Tile = 3,
                     .Life = {0, 4},
                     .Force = Exactly3(0, -1, 0),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Velocity = {Exactly(0), {-1, 0}, Exactly(0)},
                     .BeginFadeOut = 0.8f});
    EXPECT_FLOAT_EQ(EffectTimer, 0.02f);
}

TEST_F(FirstFrame, StressTestJetLeansWithThePhase) {
    // No time passes, so the particles are checked as emitted (the update follows the top-up).
    FrameTime = 0;
    EffectTimer = 1.57081f; // folds to the phase 1.5708: the jet leans towards +x
    const float phi = StressTestPhase(EffectTimer);
    ASSERT_FLOAT_EQ(phi, 1.5708f);
    const float sx = 3 * std::sin(phi), sz = 3 * std::cos(phi);
    StressTestPreset();
    ASSERT_EQ(ParticleCount(TerrainEffect), 10000);
    EXPECT_EQ(ParticleCount(FloorEffect), 0);
    ExpectParticles(TerrainEffect, 0, 10000,
                    {.Position = Exactly3(0, 0, 0),
                     .Size = {0.2f, 0.2f, 0},
                     .Color = {0.7f, 0.75f, 1},
                     .Tile = 6,
                     .Life = {4, 8},
                     .Force = Exactly3(0, -9.81f, 0),
                     .Inertia = {1, 1, 1},
                     .Mass = 0.7f,
                     .Velocity = {{(sx - 0.5f) / 0.7f, (sx + 0.5f) / 0.7f},
                                  {0, 1 / 0.7f},
                                  {(sz - 0.5f) / 0.7f, (sz + 0.5f) / 0.7f}},
                     .BeginFadeOut = 0.7f,
                     .CheckFadeOutAlpha = false});
}

TEST_F(FirstFrame, FireworkLaunchesRocketAndTrail) {
    FrameTime = 0;
    FireworkPreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 1);
    ASSERT_EQ(ParticleCount(FloorEffect), 71);
    EXPECT_GT(RocketDirection.dx, -0.4f);
    EXPECT_LE(RocketDirection.dx, 0.4f);
    EXPECT_GE(RocketDirection.dy, 0.75f);
    EXPECT_LT(RocketDirection.dy, 1.0f);
    ExpectParticles(AdditiveEffect, 0, 1,
                    {.Position = Exactly3(0, -2, 0),
                     .Size = {0.5f, 0.5f, 0.5f},
                     .Color = {1, 1, 1},
                     .Tile = 6,
                     .Life = Exactly(0.75f),
                     .Velocity = Exactly3(3 * RocketDirection.dx, 3 * RocketDirection.dy, 0),
                     .FadeOut = false,
                     .FadeIn = false});
    ExpectParticles(FloorEffect, 0, 71,
                    {.Position = Exactly3(0, -2, 0),
                     .Size = {0.05f, 0.05f, 0},
                     .Color = {1, 0.6f, 0.3f},
                     .Tile = 3,
                     .Life = {0, 0.25f},
                     .Force = Exactly3(0, 3, 0),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .Enlargement = {0.1f, 0.1f, 0},
                     .BeginFadeOut = 0.2f,
                     .CheckFadeOutAlpha = false});
    EXPECT_FALSE(RocketExploded);
}

TEST_F(FirstFrame, FireworkTrailFollowsTheRocketFormula) {
    FrameTime = 0.1f;
    FireworkPreset(); // launch at t = 0
    const float dx = RocketDirection.dx, dy = RocketDirection.dy;
    for (int frame = 1; frame <= 7; ++frame) {
        const float t = EffectTimer;
        FireworkPreset();
        EXPECT_NEAR(RocketPosition.x, 3 * dx * t, 1e-5f) << "frame " << frame;
        EXPECT_NEAR(RocketPosition.y, 3 * dy * t - 2, 1e-5f) << "frame " << frame;
        EXPECT_EQ(RocketPosition.z, 0.0f);
    }
    // t = 0.7 was the last trail frame; the next one (t = 0.8) bursts.
    EXPECT_FALSE(RocketExploded);
    FireworkPreset();
    EXPECT_TRUE(RocketExploded);
}

} // namespace
