// What carries over between presets (shared systems, their settings and the shared timer), the
// timed and phased emission rules, and the spirals' magnet that lives only during the update.

#include "effects_fixture.h"

#include <cmath>
#include <numbers>

using namespace lumidor;
using namespace lumidor::testing;

namespace {

using CarryOver = EffectsTest;

int CountTile(const TParticleEffectContainer& c, std::int32_t tile) {
    int n = 0;
    for (const TParticle& p : c.Particles)
        n += p.Tile == tile ? 1 : 0;
    return n;
}

/// Appends a long-lived particle of tile 7 (used by no preset) that is about to hit the floor.
void AddFallingMarker() {
    AddParticle(FloorEffect, {0, -1, 0}, {0.1f, 0.1f, 0}, {1, 1, 1}, 7, 100);
    SetParticleVelocity(FloorEffect, {1, -2, 0}, ParticleCount(FloorEffect) - 1);
}

TParticle FindMarker() {
    for (const TParticle p : FloorEffect.Particles) {
        if (p.Tile == 7) return p;
    }
    ADD_FAILURE() << "marker particle not found";
    return TParticle{};
}

TEST_F(CarryOver, SmokeTwoAfterFireWaitsUntilFlamesDie) {
    FirePreset();
    const float smokeLife = AdditiveEffect.Particles[0].LifeLeft;
    FrameTime = 0.001f;
    Smoke2Preset();
    EXPECT_GE(ParticleCount(FloorEffect), 200);
    EXPECT_EQ(CountTile(FloorEffect, 1), 0) << "no smoke while the flames keep the count above 200";
    // Fire's smoke in AdditiveEffect is frozen: Smoke 2 never advances that system.
    EXPECT_EQ(ParticleCount(AdditiveEffect), 20);
    EXPECT_EQ(AdditiveEffect.Particles[0].LifeLeft, smokeLife);

    FrameTime = 0.1f;
    for (int frame = 0; frame < 11; ++frame)
        Smoke2Preset(); // flames live less than 1 s
    EXPECT_EQ(ParticleCount(FloorEffect), 200);
    EXPECT_EQ(CountTile(FloorEffect, 1), 200);
}

TEST_F(CarryOver, SnowAfterFireAddsTheDifference) {
    FirePreset();
    FrameTime = 0.001f;
    SnowPreset();
    ASSERT_EQ(ParticleCount(FloorEffect), 10000);
    int flames = 0, flakes = 0;
    for (const TParticle& p : FloorEffect.Particles) {
        flames += p.Color.x == 1.0f ? 1 : 0;
        flakes += p.Color.x == 0.9f ? 1 : 0;
    }
    // The survivors of the 300 flames plus the new flakes make exactly 10000.
    EXPECT_EQ(flames + flakes, 10000);
    EXPECT_GT(flames, 280);
    EXPECT_LE(flames, 300);
}

TEST_F(CarryOver, SnowStopsParticlesDeadOnTheFloor) {
    AddFallingMarker();
    FrameTime = 0.01f;
    SnowPreset();
    const TParticle& marker = FindMarker();
    ExpectVec(marker.Velocity, {0, 0, 0}, "Velocity", 0);
    ExpectVec(FloorEffect.World.WorldFriction, {0.1f, 0.6f, 0.1f}, "WorldFriction", 0);
}

TEST_F(CarryOver, FireBouncesWithStartUpFrictionUntilEffectTwoRuns) {
    FrameTime = 0.01f;
    AddFallingMarker();
    FirePreset();
    ExpectVec(FindMarker().Velocity, {0.8f, 1.2f, 0}, "Velocity with friction (0.2, 0.4, 0.2)", 0);

    Effect2Preset();
    ExpectVec(FloorEffect.World.WorldFriction, {0.1f, 0.6f, 0.1f}, "WorldFriction", 0);
    for (TParticleView p : FloorEffect.Particles)
        p.Tile = p.Tile == 7 ? 0 : p.Tile; // retire the old marker
    AddFallingMarker();
    FirePreset();
    ExpectVec(FindMarker().Velocity, {0.9f, 0.8f, 0}, "Velocity with friction (0.1, 0.6, 0.1)", 0);
}

TEST_F(CarryOver, ExplosionAfterTheTimerPassedTwoBurstsOnceAtOnce) {
    FrameTime = 0.5f;
    for (int frame = 0; frame < 5; ++frame)
        Spiral1Preset();
    ASSERT_FLOAT_EQ(EffectTimer, 2.5f);
    FrameTime = 0.01f;
    ExplosionPreset();
    EXPECT_EQ(ParticleCount(FloorEffect), 166);
    EXPECT_EQ(EffectTimer, 0.0f);
    ExplosionPreset();
    EXPECT_EQ(ParticleCount(FloorEffect), 166);
}

TEST_F(CarryOver, MagnesiumFlashesAtOnceWithACarriedTimer) {
    EffectTimer = 1.7f;
    AflamedMagnesiumPreset();
    EXPECT_EQ(CountTile(FloorEffect, 6), 1);
    EXPECT_EQ(EffectTimer, 0.0f);
    // Then one flash every 0.05 s: in the third 0.02 s frame, as the first one dies.
    AflamedMagnesiumPreset();
    AflamedMagnesiumPreset();
    EXPECT_NEAR(EffectTimer, 0.04f, 1e-6f);
    ASSERT_EQ(CountTile(FloorEffect, 6), 1);
    EXPECT_NEAR(FloorEffect.Particles.back().LifeLeft, 0.01f, 1e-6f);
    AflamedMagnesiumPreset();
    EXPECT_EQ(EffectTimer, 0.0f);
    ASSERT_EQ(CountTile(FloorEffect, 6), 1);
    EXPECT_EQ(FloorEffect.Particles.back().LifeLeft, 0.05f);
}

TEST_F(CarryOver, MagnesiumCountsSmokeBeforeTheUpdate) {
    FrameTime = 0.0f;
    AflamedMagnesiumPreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 41);
    // Let five smoke particles die in the next update: they are replaced only a frame later.
    for (TParticleView p : AdditiveEffect.Particles)
        p.LifeLeft = 10;
    for (int i = 0; i < 5; ++i)
        AdditiveEffect.Particles[std::size_t(i)].LifeLeft = 0.001f;
    FrameTime = 0.01f;
    AflamedMagnesiumPreset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 36);
    AflamedMagnesiumPreset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 41);
}

TEST_F(CarryOver, FireworkEnteredMidCycleBurstsAtTheStoredPosition) {
    FrameTime = 0.25f;
    for (int frame = 0; frame < 4; ++frame)
        SnowPreset();
    ASSERT_FLOAT_EQ(EffectTimer, 1.0f);
    FrameTime = 0;
    FireworkPreset();
    EXPECT_TRUE(RocketExploded);
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0) << "no launch in the middle of a cycle";
    ASSERT_EQ(ParticleCount(FloorEffect), 10101);
    for (int i = 10000; i < 10101; ++i) {
        ExpectVec(FloorEffect.Particles[std::size_t(i)].Position, {0, 0, 0}, "Position", i);
    }
    EXPECT_EQ(FloorEffect.Particles.back().Tile, 6);

    // The cycle runs on to 2.5; only the frame after the reset launches.
    FrameTime = 0.125f;
    int frames = 0;
    while (EffectTimer != 0.0f && frames < 100) {
        EXPECT_EQ(CountTile(AdditiveEffect, 6), 0);
        FireworkPreset();
        ++frames;
    }
    EXPECT_EQ(frames, 12);
    EXPECT_FALSE(RocketExploded);
    FireworkPreset();
    EXPECT_EQ(CountTile(AdditiveEffect, 6), 1);
}

TEST_F(CarryOver, FireworkPastTheCycleEndBurstsResetsAndLaunchesNext) {
    EffectTimer = 3.0f;
    FireworkPreset();
    EXPECT_EQ(CountTile(FloorEffect, 4), 100);
    EXPECT_EQ(EffectTimer, 0.0f);
    EXPECT_FALSE(RocketExploded);
    FireworkPreset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 1);
}

TEST_F(CarryOver, FireworkBurstShapes) {
    // With no rocket launched the rings do not inherit a velocity, so the stored velocity of a
    // ring particle is s * d / 2 (mass 2).
    int seen[3] = {0, 0, 0};
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        ResetEffectsForTesting();
        InitEffects();
        SeedRandom(seed);
        FrameTime = 0;
        EffectTimer = 0.8f;
        FireworkPreset();
        ASSERT_EQ(ParticleCount(FloorEffect), 101);
        const auto v = [](int i) { return FloorEffect.Particles[std::size_t(i)].Velocity; };
        bool shape1 = true, shape2 = true;
        for (int i = 0; i < 50 && (shape1 || shape2); ++i) {
            const double a1 = 60.0 * i;
            shape1 = shape1 && std::abs(v(i).x - std::cos(a1) / 2) < 1e-5 &&
                     std::abs(v(i).y - std::sin(a1) / 2) < 1e-5;
            const double a2 = (i % 10) * 36.0 * std::numbers::pi / 180.0;
            const double s2 = (i / 5) * 0.1;
            shape2 = shape2 && std::abs(v(i).x - s2 * std::sin(a2) / 2) < 1e-5 &&
                     std::abs(v(i).y - s2 * std::cos(a2) / 2) < 1e-5;
        }
        for (int i = 50; i < 100; ++i) {
            const float speed = 2 * std::hypot(v(i).x, v(i).y);
            if (shape2) {
                const int k = i - 50;
                const double a = (k % 5) * 72.0 * std::numbers::pi / 180.0;
                const double s = (k / 5) * 0.1 + 1;
                EXPECT_NEAR(2 * v(i).x, s * std::sin(a), 1e-5) << "second ring, particle " << k;
                EXPECT_NEAR(2 * v(i).y, s * std::cos(a), 1e-5) << "second ring, particle " << k;
            } else {
                EXPECT_GE(speed, 1.0f - 1e-5f);
                EXPECT_LT(speed, 2.0f);
            }
        }
        if (!shape1 && !shape2) {
            for (int i = 0; i < 50; ++i)
                EXPECT_LT(2 * std::hypot(v(i).x, v(i).y), 1.0f);
        }
        ++seen[shape1 ? 1 : shape2 ? 2 : 0];
        // Both rings are uniformly coloured, each with its own colour.
        ExpectVec(FloorEffect.Particles[49].Color, FloorEffect.Particles[0].Color, "ring colour", 49);
        ExpectVec(FloorEffect.Particles[99].Color, FloorEffect.Particles[50].Color, "ring colour", 99);
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);
}

TEST_F(CarryOver, FireworkBurstInheritsTheRocketVelocity) {
    FrameTime = 0.1f;
    while (!RocketExploded)
        FireworkPreset();
    const float vx = 3 * RocketDirection.dx / 2, vy = 3 * RocketDirection.dy / 2;
    double sumX = 0, sumY = 0;
    int n = 0;
    for (const TParticle& p : FloorEffect.Particles) {
        if (p.Tile != 4) continue;
        sumX += p.Velocity.x;
        sumY += p.Velocity.y;
        ++n;
    }
    ASSERT_EQ(n, 100);
    // Ring velocities are spread around the rocket's; their mean lies near it (gravity and the
    // one update since the burst shift y a little).
    EXPECT_NEAR(sumX / n, vx, 0.3);
    EXPECT_NEAR(sumY / n, vy, 0.4);
}

TEST_F(CarryOver, FireworkGlitterOnlyBetweenOnePointTwoAndOnePointNine) {
    FrameTime = 0;
    RocketExploded = true;
    RocketPosition = {1, 1, 0};
    RocketDirection = {0.2f, 0.8f};
    EffectTimer = 1.2f;
    FireworkPreset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0);
    EffectTimer = 1.9f;
    FireworkPreset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0);
    EffectTimer = 1.5f;
    FireworkPreset();
    ASSERT_EQ(ParticleCount(AdditiveEffect), 11);
    ExpectParticles(AdditiveEffect, 0, 11,
                    {.Position = {{0.14f, 2.14f}, {0.56f, 2.56f}, Exactly(0)},
                     .Size = {0.4f, 0.4f, 0},
                     .Color = {0.8f, 0.9f, 1},
                     .Tile = 4,
                     .Life = Exactly(0.025f),
                     .Inertia = {0.1f, 0.1f, 0.1f},
                     .BeginFadeOut = 0.8f,
                     .CheckFadeOutAlpha = false});
    for (const TParticle& p : AdditiveEffect.Particles) {
        EXPECT_LE(std::hypot(p.Position.x - 1.14f, p.Position.y - 1.56f), 1.0f + 1e-5f);
    }
}

// Spirals ----------------------------------------------------------------------------------

TEST_F(CarryOver, SpiralLayoutsAndTheirMagnet) {
    struct TCase {
        void (*Preset)();
        float Life, BeginFadeOut, Radius, GravityOffset;
        int Mode;
        bool Sine;
    };
    const TCase cases[] = {{&Spiral1Preset, 8, 0.5f, 3.5f, 10, 1, false},
                           {&Spiral2Preset, 5, 0.5f, 3.5f, 5, 0, false},
                           {&Spiral3Preset, 8, 0.8f, 4, 5, 2, true}};
    for (const TCase& k : cases) {
        ResetEffectsForTesting();
        InitEffects();
        FrameTime = 0.1f;
        k.Preset();
        ASSERT_EQ(ParticleCount(AdditiveEffect), 1200);
        EXPECT_TRUE(AdditiveEffect.MagnetPoints.empty()) << "the magnet lives only during the update";
        const float gravity = std::abs(std::sin(0.1f)) * 25 - k.GravityOffset;
        for (int spoke = 0; spoke < 60; ++spoke) {
            const double a = spoke * 6.0 * std::numbers::pi / 180.0;
            const float p = float(std::cos(a) / 2), q = float(std::sin(a) / 2);
            for (int j = 1; j <= 20; ++j) {
                const int index = spoke * 20 + j - 1;
                const TParticle& dot = AdditiveEffect.Particles[std::size_t(index)];
                const TVector3 laid = k.Sine ? TVector3{std::sin(j * p * 0.3f), j * 0.2f - 2, 0}
                                             : TVector3{j * p * 0.3f, j * q * 0.3f, 0};
                EXPECT_EQ(dot.LifeLength, k.Life);
                EXPECT_NEAR(dot.BeginFadeOut, k.BeginFadeOut, 1e-6f);
                ExpectVec(dot.Inertia, {2, 2, 2}, "Inertia", index);
                ExpectVec(dot.Color, {0.6f, 0.6f, 1}, "Color", index);
                EXPECT_EQ(dot.Tile, 4);
                // The magnet's pull on the dot where it was laid out, by the spiral's law.
                const float d = VectorLength(laid);
                TVector3 dir = laid;
                Normalize(dir);
                TVector3 expected;
                if (k.Mode == 1) {
                    expected = {dir.x * gravity / (d + 1), dir.y * gravity / (d + 1), 0};
                } else if (k.Mode == 2) {
                    expected = {dir.x * gravity, dir.y * gravity, 0};
                } else {
                    const auto axis = [&](float delta) {
                        if (delta > 0) return (delta - k.Radius) / (d + 1) * gravity;
                        if (delta < 0) return (delta + k.Radius) / (d + 1) * gravity;
                        return 0.0f;
                    };
                    expected = {axis(laid.x), axis(laid.y), 0};
                }
                EXPECT_NEAR(dot.MagnetForce.x, expected.x, 1e-4f) << "dot " << index;
                EXPECT_NEAR(dot.MagnetForce.y, expected.y, 1e-4f) << "dot " << index;
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
}

TEST_F(CarryOver, SpiralWaitsForOtherParticlesWhileItsMagnetActsOnThem) {
    FirePreset();
    FrameTime = 0.01f;
    Spiral1Preset();
    EXPECT_GE(ParticleCount(AdditiveEffect), 15);
    EXPECT_EQ(CountTile(AdditiveEffect, 4), 0);
    EXPECT_NE(AdditiveEffect.Particles[0].MagnetForce.y, 0.0f) << "the magnet pulls Fire's smoke";
    EXPECT_TRUE(AdditiveEffect.MagnetPoints.empty());
    FrameTime = 0.1f;
    for (int frame = 0; frame < 25; ++frame)
        Spiral1Preset(); // the smoke lives under 2 s
    EXPECT_EQ(ParticleCount(AdditiveEffect), 1200);
    EXPECT_EQ(CountTile(AdditiveEffect, 4), 1200);
}

TEST_F(CarryOver, SpiralTwoKeepsSpiralOnesDotsUntilTheyDie) {
    FrameTime = 0.5f;
    Spiral1Preset();
    for (int frame = 0; frame < 10; ++frame)
        Spiral2Preset();
    // Spiral 1's dots (life 8) are still there, pulled by the mode 0 magnet; no second layout.
    ASSERT_EQ(ParticleCount(AdditiveEffect), 1200);
    EXPECT_EQ(AdditiveEffect.Particles[0].LifeLength, 8.0f);
}

TEST_F(CarryOver, SpiralDotsDieTogetherAndAreLaidOutAfresh) {
    FrameTime = 0.5f;
    for (int frame = 1; frame <= 10; ++frame)
        Spiral2Preset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 1200) << "a life left of exactly 0 survives";
    Spiral2Preset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 0);
    Spiral2Preset();
    EXPECT_EQ(ParticleCount(AdditiveEffect), 1200);
    EXPECT_EQ(AdditiveEffect.Particles[0].LifeLeft, 4.5f);
}

TEST_F(CarryOver, EffectOneAddsNoFlamesWhenTheFloorIsFull) {
    SnowPreset();
    Effect1Preset();
    int flames = 0;
    for (const TParticle& p : FloorEffect.Particles)
        flames += p.Color.x == 1.0f && p.Tile == 1 ? 1 : 0;
    EXPECT_EQ(flames, 0);
    EXPECT_EQ(ParticleCount(AdditiveEffect), 2000);
}

TEST_F(CarryOver, StressTestPhaseFoldsWithoutAJump) {
    EXPECT_NEAR(StressTestPhase(0.5f), 0.5f, 1e-6f);
    EXPECT_NEAR(StressTestPhase(1.23456f), 1.2345f, 1e-6f);
    EXPECT_NEAR(StressTestPhase(6.28305f), 6.283f, 1e-5f);
    EXPECT_NEAR(StressTestPhase(6.28315f), 0.0f, 1e-5f);
    // Across the fold the jet direction barely moves.
    const float before = StressTestPhase(6.28305f), after = StressTestPhase(6.28325f);
    EXPECT_NEAR(std::sin(before), std::sin(after), 1e-3f);
    EXPECT_NEAR(std::cos(before), std::cos(after), 1e-3f);
    // A timer that ran for days still folds into range.
    const float late = StressTestPhase(3.0e6f);
    EXPECT_GE(late, 0.0f);
    EXPECT_LT(late, 6.2831f);
    EXPECT_NEAR(late, std::fmod(std::trunc(3.0e6 * 10000.0), 62831.0) / 10000.0, 1e-4);
}

} // namespace
