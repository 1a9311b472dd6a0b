// Particles that turn and stretch: the angle's storage and step, the lane maths of sine, cosine and
// wrapping, the turned and stretched corners, tinted colour keys, and the same bits on every width,
// streaming build and thread count.

#include "engine/gl_recorder.h"
#include "engine/particle_extended_step.h"
#include "engine/particle_step_breakdown.h"
#include "engine/particle_turn.h"
#include "engine/particle_vertices.h"
#include "engine/portable_math.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

float Wrapped(float degrees) {
    return turn::WrapDegrees<4>(lanes::Splat<4>(degrees))[0];
}

TEST(TurnLanes, WrapKeepsAnglesInTheHalfOpenCircle) {
    const float inf = std::numeric_limits<float>::infinity();
    struct TCase {
        float In, Out;
    };
    const TCase cases[] = {{0.0f, 0.0f},      {179.5f, 179.5f}, {180.0f, -180.0f}, {-180.0f, -180.0f},
                           {540.0f, -180.0f}, {359.5f, -0.5f},  {-190.0f, 170.0f}, {725.25f, 5.25f},
                           {-1e6f, 80.0f},    {inf, 0.0f},      {-inf, 0.0f},      {std::nanf(""), 0.0f}};
    for (const TCase& c : cases)
        EXPECT_EQ(Wrapped(c.In), c.Out) << c.In;
    // Just below 180 the sum (a + 180) rounds up to 360: the nudge keeps the result inside.
    const float below = std::nextafter(180.0f, 0.0f);
    EXPECT_GE(Wrapped(below), -180.0f);
    EXPECT_LT(Wrapped(below), 180.0f);
    EXPECT_LT(Wrapped(std::nextafter(-180.0f, -200.0f)), 180.0f);
}

TEST(TurnLanes, SineAndCosineOfDegreesAreCloseAndExactAtTheQuadrants) {
    struct TExact {
        float Degrees, Sine, Cosine;
    };
    for (const TExact& c : {TExact{0, 0, 1}, TExact{90, 1, 0}, TExact{-90, -1, 0}, TExact{-180, 0, -1}}) {
        float sine = 0, cosine = 0;
        lanes::TLanes<4> s, k;
        turn::SinCosDegrees<4>(lanes::Splat<4>(c.Degrees), s, k);
        sine = s[0];
        cosine = k[0];
        EXPECT_EQ(sine, c.Sine) << c.Degrees;
        EXPECT_EQ(cosine, c.Cosine) << c.Degrees;
    }
    double worst = 0;
    for (float degrees = -180.0f; degrees < 180.0f; degrees += 0.37f) {
        lanes::TLanes<4> s, k;
        turn::SinCosDegrees<4>(lanes::Splat<4>(degrees), s, k);
        const double radians = double(degrees) * 3.14159265358979323846 / 180.0;
        worst = std::max({worst, std::fabs(s[0] - std::sin(radians)), std::fabs(k[0] - std::cos(radians))});
    }
    EXPECT_LT(worst, 2e-6);
}

TEST(TurnStorage, AnglesTravelWithTheirParticles) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    for (int i = 0; i < 20; ++i)
        AddParticle(container, {float(i), 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    EXPECT_EQ(container.Particles[3].Angle, 0.0f);
    SetParticleRotation(container, 20, 1.0f, 2.0f); // out of range: ignored
    EXPECT_FALSE(container.Rotating);
    for (int i = 0; i < 20; ++i)
        SetParticleRotation(container, i, 10.0f * float(i), -float(i));
    EXPECT_TRUE(container.Rotating);

    // Swap-removal moves the last particle, angle and spin with it, into the hole.
    RemoveParticle(container, 2);
    EXPECT_EQ(container.Particles[2].Angle, 190.0f);
    EXPECT_EQ(container.Particles[2].Spin, -19.0f);
    // Copies are deep; a grown array keeps them and starts new particles unturned.
    TParticleArray copy = container.Particles;
    container.Particles[5].Angle = 1.5f;
    EXPECT_EQ(copy[5].Angle, 50.0f);
    copy.resize(40);
    EXPECT_EQ(copy[17].Spin, -17.0f);
    EXPECT_EQ(copy[39].Angle, 0.0f);
    EXPECT_FALSE(SameParticleBits(copy, container.Particles, 19)) << "the angle of particle 5 differs";
    container.Particles[5].Angle = 50.0f;
    EXPECT_TRUE(SameParticleBits(copy, container.Particles, 19));
    // A view assigned from a view carries them; a record assigned leaves them.
    container.Particles[0] = container.Particles[7];
    EXPECT_EQ(container.Particles[0].Spin, -7.0f);
    container.Particles[0] = TParticle{};
    EXPECT_EQ(container.Particles[0].Spin, -7.0f);

    // AddParticles stores each spawn's angle and spin in a Rotating container, and none otherwise.
    for (const bool rotating : {true, false}) {
        TParticleEffectContainer added;
        added.Rotating = rotating;
        int n = 0;
        AddParticles(added, TSharedParticleValues{}, 21, [&n] {
            TParticleSpawn spawn;
            spawn.LifeLength = 1.0f;
            spawn.Angle = float(n);
            spawn.Spin = 2.0f * float(n++);
            return spawn;
        });
        for (std::size_t i = 0; i < 21; ++i) {
            EXPECT_EQ(added.Particles[i].Angle, rotating ? float(i) : 0.0f) << i;
            EXPECT_EQ(added.Particles[i].Spin, rotating ? 2.0f * float(i) : 0.0f) << i;
        }
    }
}

TEST(TurnStep, WhatTakesTheExtendedStep) {
    struct TCase {
        const char* Name;
        void (*Set)(TParticleEffectContainer&);
        bool Extended;
    };
    const TCase cases[] = {
        {"nothing new", [](TParticleEffectContainer&) {}, false},
        {"rotating", [](TParticleEffectContainer& c) { c.Rotating = true; }, true},
        {"stretch", [](TParticleEffectContainer& c) { c.Stretch = 0.1f; }, true},
        {"negative stretch", [](TParticleEffectContainer& c) { c.Stretch = -1.0f; }, false},
        {"turbulence", [](TParticleEffectContainer& c) { c.Flow.Turbulence.Strength = 1.0f; }, true},
        {"turbulence of no size",
         [](TParticleEffectContainer& c) {
             c.Flow.Turbulence.Strength = 1.0f;
             c.Flow.Turbulence.Scale = 0.0f;
         },
         false},
        {"vortex pull", [](TParticleEffectContainer& c) { c.Flow.Vortex.Pull = 1.0f; }, true},
        {"vortex speed", [](TParticleEffectContainer& c) { c.Flow.Vortex.Speed = 1.0f; }, true},
        {"die on ground", [](TParticleEffectContainer& c) { c.DieOnGround = true; }, true},
    };
    for (const TCase& c : cases) {
        TParticleEffectContainer container;
        c.Set(container);
        EXPECT_EQ(UsesExtendedStep(container), c.Extended) << c.Name;
    }
}

TEST(TurnStep, ALongRunKeepsTheAngleWrappedAndPrecise) {
    InstallGLRecorder();
    TParticleEffectContainer container;
    AddParticle(container, {0, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 1e6f);
    SetParticleRotation(container, 0, 170.0f, 100.0f);
    const float dt = 1.0f / 60.0f;
    const int steps = 36000; // ten minutes
    for (int step = 0; step < steps; ++step) {
        SimulateParticles(container, dt, TCameraAxes{}, nullptr);
        const float angle = container.Particles[0].Angle;
        ASSERT_TRUE(angle >= -180.0f && angle < 180.0f) << "step " << step << ": " << angle;
    }
    const double turned = 170.0 + double(steps) * double(100.0f * dt);
    const double expected = turned - 360.0 * std::floor((turned + 180.0) / 360.0);
    // Each step rounds once within [-180, 180) (half a unit in the last place: under 8e-6 degrees);
    // an angle left to grow would round to 0.004 degrees a step by the end.
    EXPECT_NEAR(container.Particles[0].Angle, expected, 0.05);
    EXPECT_EQ(container.Particles[0].Spin, 100.0f);
}

TEST(TurnStep, TheBreakdownShowsTheSweepsAngle) {
    InstallGLRecorder();
    for (const float stretch : {0.0f, 0.2f}) {
        TParticleEffectContainer container;
        SeedRandom(4);
        for (int i = 0; i < 11; ++i) {
            AddParticle(container, {R(), R(), R()}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
            SetParticleRotation(container, i, 400.0f * R() - 200.0f, 3000.0f * R() - 1500.0f);
        }
        container.Stretch = stretch;
        std::vector<TParticleStepBreakdown> steps;
        for (int i = 0; i < 11; ++i)
            steps.push_back(BreakDownParticleStep(container, i, 0.1f));
        UpdateAndDraw(container, 0.1f);
        for (int i = 0; i < 11; ++i) {
            EXPECT_TRUE(SameBits(steps[std::size_t(i)].AngleAfter, container.Particles[std::size_t(i)].Angle))
                << i;
            EXPECT_NE(steps[std::size_t(i)].AngleAfter, steps[std::size_t(i)].AngleBefore) << i;
            EXPECT_EQ(steps[std::size_t(i)].Spin, container.Particles[std::size_t(i)].Spin) << i;
        }
    }
}

TEST(TurnDrawing, UprightOffsetsWriteTheUnturnedVerticesBitForBit) {
    // The extended instantiation draws an upright quad through its offsets and one store.
    TParticleEffectContainer container;
    SetTextureProperties(container, 1, 2, 2);
    const vertices::TVertexPass pass =
        vertices::MakeVertexPass(container, {0.6f, 0.0f, -0.8f}, {0.48f, 0.6f, 0.64f});
    const lanes::TLanes3<4> position{
        {0.1f, -3.0f, 7.7f, 1e5f}, {2.5f, -0.0f, 0.3f, 1.0f}, {-1.0f, 0.7f, 2.0f, 3.0f}};
    const lanes::TLanes<4> width{0.3f, 1.7f, 0.0f, 2.1f}, height{1.1f, 0.2f, 5.0f, 2.1f},
        alpha{0.2f, 1, 0.5f, 0.9f};
    const lanes::TMask<4> color{0x102030, 0xffffff, 0, 0x0a0b0c}, tiles{0, 1, 3, 9};
    TParticleVertex expected[16], written[16];
    vertices::WriteQuads<4, false>(pass, position, {width, height, lanes::Splat<4>(0.0f)}, alpha, color,
                                   tiles, 4, expected);
    lanes::TLanes<4> u[4], v[4];
    vertices::TileCorners<4, false>(pass, tiles, u, v);
    lanes::TLanes3<4> offsets[4];
    vertices::UprightCorners<4>(pass, width, height, offsets);
    vertices::WriteQuadOffsets<4, false>(position, offsets, alpha, color, u, v, 4, written);
    EXPECT_EQ(std::memcmp(expected, written, sizeof expected), 0);
}

// The vertices of `container`'s particles after a pass of no time seen along `camera`.
std::vector<TParticleVertex> DrawnNow(TParticleEffectContainer container, const TCameraAxes& camera) {
    std::vector<TParticleVertex> vertices(4 * container.Particles.size());
    vertices.resize(std::size_t(SimulateParticles(container, 0.0f, camera, vertices.data())));
    return vertices;
}

TEST(TurnDrawing, AngleZeroDrawsTheUnturnedCornersBitForBit) {
    InstallGLRecorder();
    SeedRandom(8);
    TParticleEffectContainer plain = MakeEveryPathScene();
    for (int i = 0; i < 37; ++i) {
        AddParticle(plain, {R(), R(), R()}, {0.1f + R(), 0.1f + R(), 0}, {R(), R(), R()}, i % 9, 2.0f);
        RandomizeParticle(plain, i);
    }
    TParticleEffectContainer turned = plain;
    for (int i = 0; i < 37; ++i)
        SetParticleRotation(turned, i, i % 2 ? 0.0f : -0.0f, 0.0f);
    const TCameraAxes camera{{0.6f, 0.0f, -0.8f}, {0.48f, 0.6f, 0.64f}};
    const std::vector<TParticleVertex> a = DrawnNow(plain, camera), b = DrawnNow(turned, camera);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(TParticleVertex)), 0);
}

TEST(TurnDrawing, TurnedCornersAreTheRectangleTurned) {
    // A 2 x 1 particle at (1, 2, 3) seen along world x and y (its own size, or size keys' over a
    // size of 0.1): corners top-right, top-left, bottom-left, bottom-right.
    struct TCase {
        float Angle;
        float X[4], Y[4];
        bool Keyed = false;
    };
    const TCase cases[] = {
        {0.0f, {2, 0, 0, 2}, {2.5f, 2.5f, 1.5f, 1.5f}},
        {90.0f, {0.5f, 0.5f, 1.5f, 1.5f}, {3, 1, 1, 3}},
        {-90.0f, {1.5f, 1.5f, 0.5f, 0.5f}, {1, 3, 3, 1}},
        {180.0f, {0, 2, 2, 0}, {1.5f, 1.5f, 2.5f, 2.5f}},
        {450.0f, {0.5f, 0.5f, 1.5f, 1.5f}, {3, 1, 1, 3}},
        {90.0f, {0.5f, 0.5f, 1.5f, 1.5f}, {3, 1, 1, 3}, true},
    };
    InstallGLRecorder();
    for (const TCase& c : cases) {
        TParticleEffectContainer container;
        if (c.Keyed) container.Life.SizeKeys = {{0.0f, 2.0f, 1.0f}};
        AddParticle(container, {1, 2, 3}, c.Keyed ? TVector3{0.1f, 0.1f, 0} : TVector3{2, 1, 0}, {1, 1, 1}, 0,
                    5.0f);
        SetParticleRotation(container, 0, c.Angle, 0.0f);
        const std::vector<TParticleVertex> corners = DrawnNow(container, TCameraAxes{});
        ASSERT_EQ(corners.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(corners[std::size_t(k)].X, c.X[k], 1e-6f) << c.Angle << " corner " << k;
            EXPECT_NEAR(corners[std::size_t(k)].Y, c.Y[k], 1e-6f) << c.Angle << " corner " << k;
            EXPECT_EQ(corners[std::size_t(k)].Z, 3.0f) << c.Angle << " corner " << k;
        }
    }
}

float Distance(const TParticleVertex& a, const TParticleVertex& b) {
    return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
}

TEST(TurnDrawing, StretchedQuadsLieAlongTheVelocityTheCameraSees) {
    // A 0.2 x 0.4 particle at the origin; length 0.4 + stretch x speed on screen, width 0.2.
    struct TCase {
        const char* Name;
        TVector3 Velocity;
        TCameraAxes Camera;
        float Length;
        TVector3 Along; // unit direction from the bottom corners to the top ones
    };
    const TCameraAxes side{{0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}};
    const TCase cases[] = {
        {"3-4-5 on screen", {3, 4, 0}, TCameraAxes{}, 0.4f + 0.1f * 5.0f, {0.6f, 0.8f, 0.0f}},
        {"depth is not seen", {3, 4, 12}, TCameraAxes{}, 0.4f + 0.1f * 5.0f, {0.6f, 0.8f, 0.0f}},
        {"falling", {0, -2, 0}, TCameraAxes{}, 0.4f + 0.1f * 2.0f, {0.0f, -1.0f, 0.0f}},
        {"side camera", {5, 0, -1}, side, 0.4f + 0.1f * 1.0f, {0.0f, 0.0f, -1.0f}},
        {"at rest: upright", {0, 0, 0}, TCameraAxes{}, 0.4f, {0.0f, 1.0f, 0.0f}},
        {"towards the camera: upright", {0, 0, 7}, TCameraAxes{}, 0.4f, {0.0f, 1.0f, 0.0f}},
    };
    InstallGLRecorder();
    for (const TCase& c : cases) {
        TParticleEffectContainer container;
        container.Stretch = 0.1f;
        AddParticle(container, {0, 0, 0}, {0.2f, 0.4f, 0}, {1, 1, 1}, 0, 5.0f);
        SetParticleVelocity(container, c.Velocity, 0);
        SetParticleRotation(container, 0, 33.0f, 0.0f); // no part while stretching
        const std::vector<TParticleVertex> q = DrawnNow(container, c.Camera);
        ASSERT_EQ(q.size(), 4u);
        EXPECT_NEAR(Distance(q[0], q[3]), c.Length, 1e-6f) << c.Name;
        EXPECT_NEAR(Distance(q[1], q[2]), c.Length, 1e-6f) << c.Name;
        EXPECT_NEAR(Distance(q[0], q[1]), 0.2f, 1e-6f) << c.Name;
        const float length = Distance(q[0], q[3]);
        EXPECT_NEAR((q[0].X - q[3].X) / length, c.Along.x, 1e-6f) << c.Name;
        EXPECT_NEAR((q[0].Y - q[3].Y) / length, c.Along.y, 1e-6f) << c.Name;
        EXPECT_NEAR((q[0].Z - q[3].Z) / length, c.Along.z, 1e-6f) << c.Name;
        EXPECT_NEAR(q[0].X + q[2].X, 0.0f, 1e-6f) << c.Name << ": centred";
    }
}

TEST(TurnDrawing, TintedColourKeysMultiplyTheParticlesColour) {
    InstallGLRecorder();
    for (const bool tinted : {false, true}) {
        TParticleEffectContainer container;
        container.Life.ColorKeys = {{0.0f, {1.0f, 0.5f, 1.0f}}};
        container.Life.TintColorKeys = tinted;
        AddParticle(container, {0, 0, 0}, {1, 1, 0}, {0.5f, 1.0f, 0.2f}, 0, 5.0f);
        const std::vector<TParticleVertex> q = DrawnNow(container, TCameraAxes{});
        ASSERT_EQ(q.size(), 4u);
        EXPECT_EQ(q[2].R, tinted ? ColorChannelByte(0.5f) : 255);
        EXPECT_EQ(q[2].G, ColorChannelByte(0.5f));
        EXPECT_EQ(q[2].B, tinted ? ColorChannelByte(0.2f) : 255);
    }
    // The step breakdown shows the tinted colour.
    TParticleEffectContainer inspected;
    inspected.Life.ColorKeys = {{0.0f, {1.0f, 0.5f, 1.0f}}};
    inspected.Life.TintColorKeys = true;
    AddParticle(inspected, {0, 0, 0}, {1, 1, 0}, {0.5f, 1.0f, 0.2f}, 0, 5.0f);
    const TLifeSample sample = BreakDownParticleStep(inspected, 0, 0.1f).Life;
    EXPECT_EQ(sample.Color.x, 0.5f);
    EXPECT_EQ(sample.Color.z, 0.2f);
    // Without colour keys the flag changes nothing: the particle's own colour is drawn.
    TParticleEffectContainer alphaOnly;
    alphaOnly.Life.AlphaKeys = {{0.0f, 1.0f}};
    alphaOnly.Life.TintColorKeys = true;
    AddParticle(alphaOnly, {0, 0, 0}, {1, 1, 0}, {0.5f, 1.0f, 0.2f}, 0, 5.0f);
    EXPECT_EQ(DrawnNow(alphaOnly, TCameraAxes{})[1].R, ColorChannelByte(0.5f));
}

// Scenes that turn, stretch and tint, for the identity checks.
struct TTurnScene {
    const char* Name;
    bool Rotating;
    float Stretch;
    bool Keyed;
};

TParticleEffectContainer MakeTurnScene(const TTurnScene& kind, std::int32_t count) {
    SeedRandom(12);
    TParticleEffectContainer scene = MakeEveryPathScene();
    scene.Stretch = kind.Stretch;
    if (kind.Keyed) {
        scene.Life.ColorKeys = {{0.1f, {1, 1, 1}}, {1.0f, {0.2f, 0.5f, 0}}};
        scene.Life.SizeKeys = {{0.0f, 0.1f, 0.3f}, {1.0f, 0.6f, 0.2f}};
        scene.Life.TintColorKeys = true;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        AddParticle(scene, {R() * 4 - 2, R() * 3 - 1, R() * 4 - 2}, {0.2f + R(), 0.3f, 0}, {R(), R(), R()},
                    i % 9, 0.2f + R() * 2);
        RandomizeParticle(scene, i);
        if (kind.Rotating) SetParticleRotation(scene, i, 1000 * R() - 500, 4000 * R() - 2000);
    }
    return scene;
}

const TTurnScene kTurnScenes[] = {
    {"turned", true, 0.0f, false},
    {"turned, tinted keys", true, 0.0f, true},
    {"stretched", false, 0.05f, false},
    {"stretched and turned, tinted keys", true, 0.05f, true},
};

TEST(TurnIdentity, EveryWidthStreamingBuildAndThreadCountGivesTheSameBits) {
    InstallGLRecorder();
    const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
    for (const TTurnScene& kind : kTurnScenes) {
        const TParticleEffectContainer scene = MakeTurnScene(kind, 203);
        const std::size_t count = scene.Particles.size();
        for (const TSweepVariant& variant : SweepVariants()) {
            if (!variant.Supported()) continue;
            for (const TTaskRunner& runner : {TTaskRunner{}, ShuffledRunner(4, 7)}) {
                const std::string what = std::string(kind.Name) + ", " + variant.Name + ", threads " +
                                         std::to_string(runner.Threads);
                TParticleEffectContainer narrow = scene, wide = scene;
                TVertexBuffer narrowVertices(4 * count), wideVertices(4 * count);
                TSweepContext context;
                for (int frame = 0; frame < 40; ++frame) {
                    const std::int32_t n =
                        SimulateParticlesFourLanes(narrow, 1.0f / 30, camera, narrowVertices.data());
                    const std::int32_t w =
                        variant.Run(context, wide, 1.0f / 30, camera, wideVertices.data(), runner);
                    ASSERT_EQ(n, w) << what;
                    ASSERT_EQ(std::memcmp(narrowVertices.data(), wideVertices.data(), std::size_t(n) * 24), 0)
                        << what << ", frame " << frame;
                    ASSERT_TRUE(SameParticleBits(narrow.Particles, wide.Particles))
                        << what << ", frame " << frame;
                }
                EXPECT_LT(narrow.Particles.size(), count) << what << ": some died on the way";
            }
        }
    }
}

// The portable functions are close to the C library's everywhere and exact where they must be (a
// shape's ring closes on itself, a sphere's radius is reached).
TEST(PortableMath, SineCosineAndCubeRootAgreeWithTheLibrary) {
    for (float degrees = -720.0f; degrees <= 720.0f; degrees += 0.37f) {
        float sine = 0.0f, cosine = 0.0f;
        PortableSinCosDegrees(degrees, sine, cosine);
        const double radians = double(degrees) * 3.14159265358979323846 / 180.0;
        ASSERT_NEAR(sine, std::sin(radians), 3e-7) << degrees;
        ASSERT_NEAR(cosine, std::cos(radians), 3e-7) << degrees;
    }
    const struct {
        float Degrees, Sine, Cosine;
    } exact[] = {{0, 0, 1}, {90, 1, 0}, {180, 0, -1}, {270, -1, 0}, {360, 0, 1}};
    for (const auto& row : exact) {
        float sine = 0.0f, cosine = 0.0f;
        PortableSinCosDegrees(row.Degrees, sine, cosine);
        EXPECT_EQ(sine, row.Sine) << row.Degrees;
        EXPECT_EQ(cosine, row.Cosine) << row.Degrees;
    }
    for (float x = 1e-30f; x < 1e30f; x *= 1.37f)
        ASSERT_NEAR(PortableCbrt(x), std::cbrt(x), std::cbrt(x) * 2e-7f) << x;
    const struct {
        float X, Root;
    } roots[] = {{0, 0}, {-8, 0},        {1, 1},
                 {8, 2}, {0.125f, 0.5f}, {std::numeric_limits<float>::quiet_NaN(), 0}};
    for (const auto& row : roots)
        EXPECT_EQ(PortableCbrt(row.X), row.Root) << row.X;
}

} // namespace
