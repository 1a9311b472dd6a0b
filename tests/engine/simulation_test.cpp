#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

using namespace lumidor;

namespace {

class SimulationTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder(); }

    std::int32_t Add(TVector3 position = {}, float life = 2.0f) {
        AddParticle(container, position, {1, 1, 0}, {1, 1, 1}, 0, life);
        return ParticleCount(container) - 1;
    }
    void Step(float dt) { SimulateParticles(container, dt, TCameraAxes{}, nullptr); }
    TParticleView First() { return container.Particles[0]; }

    TParticleEffectContainer container{};
};

} // namespace

TEST_F(SimulationTest, DefaultParticleFadesOutOverItsLifeAndDiesStrictlyBelowZero) {
    Add({}, 2.0f);
    for (int i = 0; i < 2; ++i)
        Step(0.25f);
    EXPECT_FLOAT_EQ(First().Alpha, 0.75f);
    Step(1.5f); // exactly 0 left: survives this frame
    ASSERT_EQ(ParticleCount(container), 1);
    EXPECT_EQ(First().LifeLeft, 0.0f);
    Step(0.001f);
    EXPECT_EQ(ParticleCount(container), 0);
}

TEST_F(SimulationTest, FadeOutStartsAtItsFraction) {
    const auto i = Add({}, 1.0f);
    SetParticleBeginFadeOut(container, i, 0.5f);
    Step(0.25f);
    EXPECT_FLOAT_EQ(First().Alpha, 1.0f);
    Step(0.5f);
    EXPECT_FLOAT_EQ(First().Alpha, 0.25f / 0.5f);
}

TEST_F(SimulationTest, FadeInWinsThenTheFadeOutJumps) {
    const auto i = Add({}, 1.0f);
    SetParticleEndFadeIn(container, i, 0.25f);
    SetParticleFading(container, true, true, i);
    Step(0.125f);
    EXPECT_EQ(First().Alpha, 0.5f);
    Step(0.125f);
    EXPECT_EQ(First().Alpha, 1.0f);
    Step(0.0625f); // after the ramp the fade-out takes over at once: 1 - e
    EXPECT_EQ(First().Alpha, 0.6875f);
}

TEST_F(SimulationTest, FlagsOffKeepTheHalvesOfCreation) {
    const auto i = Add({}, 1.0f);
    SetParticleFading(container, false, false, i);
    Step(0.5f);
    EXPECT_EQ(First().Alpha, 1.0f);
}

TEST_F(SimulationTest, PositiveForceIsATargetSpeedReachedFromBelow) {
    const auto i = Add();
    SetParticleForce(container, {0, 5, 0}, i);
    const float expected[] = {0.625f, 1.25f, 1.875f, 1.875f, 1.875f};
    for (float velocity : expected) {
        Step(0.25f);
        EXPECT_NEAR(First().Velocity.y, velocity, 1e-6f);
    }
}

TEST_F(SimulationTest, NegativeForceFallsWithoutBound) {
    const auto i = Add({}, 100.0f);
    SetParticleForce(container, {0, -5, 0}, i);
    for (int k = 1; k <= 12; ++k) {
        Step(0.25f);
        EXPECT_NEAR(First().Velocity.y, -0.625f * float(k), 1e-5f);
    }
}

TEST_F(SimulationTest, AirResistanceAndPositionIntegration) {
    const auto i = Add();
    SetParticleForce(container, {0, 5, 0}, i);
    SetParticleAirResistance(container, i, 1.0f);
    Step(0.25f);
    EXPECT_NEAR(First().Velocity.y, 0.46875f, 1e-6f);
    EXPECT_NEAR(First().Position.y, 0.46875f * 0.25f, 1e-6f);
}

TEST_F(SimulationTest, WindTermIsDampedByTenTimesInertiaAndMass) {
    Add();
    SetWind(container, {11, 0, 0});
    Step(0.5f); // A_x = 11 / (1 * 10 * 1 + 1) = 1, so the first step adds a = 0.5
    EXPECT_NEAR(First().Velocity.x, 0.5f, 1e-6f);
}

TEST_F(SimulationTest, EnlargementGrowsAllThreeAxes) {
    const auto i = Add();
    SetParticleEnlargement(container, {0.5f, 1, 2}, i);
    Step(0.5f);
    EXPECT_NEAR(First().Size.x, 1.25f, 1e-6f);
    EXPECT_NEAR(First().Size.y, 1.5f, 1e-6f);
    EXPECT_NEAR(First().Size.z, 1.0f, 1e-6f);
}

TEST_F(SimulationTest, MagnetForcePerMode) {
    const std::int32_t id = AddMagnetPoint(container, {0, 0, 0}, 5.0f, 1.0f);
    const TVector3 at{0, 2, 0};
    SetMagnetMode(container, 2, id);
    EXPECT_NEAR(ApplyMagnetPoints(container, at).y, 1.0f, 1e-6f);
    SetMagnetMode(container, 1, id);
    EXPECT_NEAR(ApplyMagnetPoints(container, at).y, 1.0f / 3.0f, 1e-6f);
    SetMagnetMode(container, 0, id);
    const TVector3 axisPull = ApplyMagnetPoints(container, at);
    EXPECT_NEAR(axisPull.y, -1.0f, 1e-6f);
    EXPECT_EQ(axisPull.x, 0.0f);
    SetMagnetMode(container, 3, id);
    EXPECT_EQ(ApplyMagnetPoints(container, at).y, 0.0f);
    SetMagnetMode(container, 2, id);
    EXPECT_EQ(ApplyMagnetPoints(container, {0, 6, 0}).y, 0.0f);          // beyond the radius
    EXPECT_NEAR(ApplyMagnetPoints(container, {0, 5, 0}).y, 1.0f, 1e-6f); // exactly at it
    EXPECT_EQ(ApplyMagnetPoints(container, {0, 0, 0}).y, 0.0f);          // at the magnet itself
    SetMagnetGravity(container, id, -1.0f);
    SetMagnetMode(container, 1, id);
    EXPECT_NEAR(ApplyMagnetPoints(container, {-2, 0, 0}).x, 1.0f / 3.0f, 1e-6f); // pulled back
}

TEST_F(SimulationTest, SteadyMagnetFieldFadesWithTheInertiaTimeConstant) {
    // A mode 2 magnet far below pulls with a constant (0, 1, 0) whatever the particle's height.
    Add({0, 2, 0}, 100.0f);
    const std::int32_t id = AddMagnetPoint(container, {0, 0, 0}, 1000.0f, 1.0f);
    SetMagnetMode(container, 2, id);
    const float expectedImpulse[] = {-0.5f, -0.75f, -0.875f};
    const float expectedTerm[] = {0.5f, 0.25f, 0.125f};
    float impulseBefore = 0.0f;
    for (int k = 0; k < 3; ++k) {
        Step(0.5f);
        EXPECT_NEAR(First().MagnetForce.y, 1.0f, 1e-6f);
        EXPECT_NEAR(First().MagnetImpulse.y, expectedImpulse[k], 1e-6f);
        // The step's magnet term of A_y: (impulse before + G) / (I m + 1).
        EXPECT_NEAR((impulseBefore + First().MagnetForce.y) / 2.0f, expectedTerm[k], 1e-6f);
        impulseBefore = First().MagnetImpulse.y;
    }
    // 0.25 after the first step, unchanged in the second (within reach of A = 0.25), and rising
    // again in the third because it is more than a above the smaller target.
    EXPECT_NEAR(First().Velocity.y, 0.3125f, 1e-6f);
}

TEST_F(SimulationTest, SwappedInParticleIsProcessedInTheSamePass) {
    Add({0, 0, 0}, 0.1f);
    Add({1, 0, 0}, 5.0f);
    Add({2, 0, 0}, 5.0f);
    for (TParticleView p : container.Particles)
        p.Velocity = {0, 1, 0};
    std::vector<TParticleVertex> vertices(12);
    EXPECT_EQ(SimulateParticles(container, 0.5f, TCameraAxes{}, vertices.data()), 8);
    ASSERT_EQ(ParticleCount(container), 2);
    for (const TParticle& p : container.Particles)
        EXPECT_NEAR(p.Position.y, 0.5f, 1e-6f);
    EXPECT_NEAR(vertices[0].X - 0.5f, 2.0f, 1e-6f); // the last particle moved into slot 0
    EXPECT_NEAR(vertices[4].X - 0.5f, 1.0f, 1e-6f);
}

TEST_F(SimulationTest, DebugTipLeadsThePosition) {
    const auto i = Add();
    SetParticleForce(container, {0, 5, 0}, i);
    SetDebugScale(container, 0.2f);
    ToggleDebugMode(container);
    Step(0.25f);
    // T = V (0.625) plus one more step (0.625) since |0.625 - 0.625| <= 2.5.
    EXPECT_NEAR(First().DebugTip.y, First().Position.y + 1.25f * 0.2f, 1e-6f);
}

TEST(ColorChannelByte, TruncatesAndWrapsSafely) {
    EXPECT_EQ(ColorChannelByte(1.0f), 255);
    EXPECT_EQ(ColorChannelByte(0.5f), 127);
    EXPECT_EQ(ColorChannelByte(0.0f), 0);
    EXPECT_EQ(ColorChannelByte(1.2f), 50);   // 306 keeps its low 8 bits
    EXPECT_EQ(ColorChannelByte(-0.002f), 0); // -0.51 truncates toward zero
    EXPECT_EQ(ColorChannelByte(-1.0f), 1);   // -255 wraps to 0x01
    EXPECT_EQ(ColorChannelByte(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(ColorChannelByte(std::nanf("")), 0);
    EXPECT_EQ(ColorChannelByte(1e30f), 0);
}

#include "engine/random.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

namespace {

// Runs `scene` for 60 frames on four lanes and on every wider sweep the processor has, comparing
// every particle and vertex after every frame.
void ExpectWidthsAgree(const TParticleEffectContainer& scene) {
    std::vector<TSweepFunction> sweeps = SupportedSweeps();
    sweeps.erase(sweeps.begin()); // four lanes, the reference
    const std::size_t count = scene.Particles.size();
    for (const TSweepFunction sweep : sweeps) {
        TParticleEffectContainer narrow = scene, wide = scene;
        const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
        TVertexBuffer narrowVertices(4 * count), wideVertices(4 * count);
        for (int frame = 0; frame < 60; ++frame) {
            const std::int32_t narrowCount =
                SimulateParticlesFourLanes(narrow, 1.0f / 30, camera, narrowVertices.data());
            const std::int32_t wideCount = sweep(wide, 1.0f / 30, camera, wideVertices.data(), TTaskRunner{});
            ASSERT_EQ(narrowCount, wideCount);
            ASSERT_EQ(std::memcmp(narrowVertices.data(), wideVertices.data(), std::size_t(narrowCount) * 24),
                      0)
                << "frame " << frame;
            ASSERT_TRUE(SameParticleBits(narrow.Particles, wide.Particles)) << "frame " << frame;
        }
        EXPECT_LT(narrow.Particles.size(), count); // some died on the way
        EXPECT_GT(ParticleCount(narrow), 0);
    }
}

} // namespace

TEST(SweepWidths, EightAndSixteenLanesGiveBitIdenticalParticlesAndVertices) {
#if LUMIDOR_WIDE_SWEEP
    if (SupportedSweeps().size() < 2) GTEST_SKIP() << "no AVX2 on this processor";
    InstallGLRecorder();
    // Every path at once: all magnet modes, a ground, wind, debug tips, fading, dying particles and
    // a count that leaves a short final group.
    TParticleEffectContainer scene = MakeEveryPathScene();
    SeedRandom(3);
    for (int i = 0; i < 203; ++i) {
        AddParticle(scene, {R() * 4 - 2, R() * 3 - 1, R() * 4 - 2}, {0.2f, 0.3f, 0}, {R(), R(), 1.5f}, i % 9,
                    0.2f + R() * 2);
        RandomizeParticle(scene, i);
    }
    ExpectWidthsAgree(scene);

    // As an effect makes them: one inertia and one mass for nearly all, which the widest sweep
    // works out once a pass. A few differ in one axis or in mass, or take the overflow path, so
    // that some groups share and some do not as particles die and move.
    for (int i = 0; i < 203; ++i) {
        SetParticleInertia(scene, {0.3f, 0.7f, 0.5f}, i);
        SetParticleMass(scene, i, 0.6f);
    }
    SetParticleInertia(scene, {0.3f, 0.7f, 0.51f}, 40);
    SetParticleMass(scene, 77, 0.61f);
    SetParticleMass(scene, 150, 3e30f);
    ExpectWidthsAgree(scene);
    // The first particle, whose factors are shared, is the odd one.
    SetParticleMass(scene, 0, 0.9f);
    ExpectWidthsAgree(scene);
#else
    GTEST_SKIP() << "built without the eight-lane sweep";
#endif
}

// A huge mass must not take the mass-independent force term with it, and a huge magnet must pull
// hard but finitely: the shared divisions of the sweep fall back to separate ones where they overflow.
TEST(SweepEdges, HugeMassesKeepTheForceTerm) {
    InstallGLRecorder();
    for (const float mass : {1.0f, 1e18f, 5e18f, 1e19f, 1e30f}) {
        TParticleEffectContainer container{};
        AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
        SetParticleForce(container, {0, 5, 0}, 0);
        SetParticleMass(container, 0, mass);
        std::vector<TParticleVertex> vertices(4);
        ASSERT_EQ(SimulateParticles(container, 0.25f, TCameraAxes{}, vertices.data()), 4);
        // Corners 0 and 2 lie half a size above and below the centre.
        EXPECT_EQ((vertices[0].Y + vertices[2].Y) / 2, 0.15625f) << "mass " << mass;
        EXPECT_EQ(container.Particles[0].Velocity.y, 0.625f) << "mass " << mass;
        SimulateParticles(container, 0.25f, TCameraAxes{}, vertices.data());
        EXPECT_EQ(container.Particles[0].Velocity.y, 1.25f) << "mass " << mass;
    }
}

TEST(SweepEdges, HugeMagnetNextToAParticlePullsFinitely) {
    InstallGLRecorder();
    for (const std::int32_t mode : {1, 2}) {
        TParticleEffectContainer container{};
        SetMagnetMode(container, mode, AddMagnetPoint(container, {0, 0, 0}, 1.0f, 1e30f));
        AddParticle(container, {0, 1e-9f, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
        const TVector3 pull = ApplyMagnetPoints(container, container.Particles[0].Position);
        EXPECT_EQ(pull.x, 0.0f);
        EXPECT_FLOAT_EQ(pull.y, mode == 2 ? 1e30f : 1e30f / (1e-9f + 1.0f));
        EXPECT_EQ(pull.z, 0.0f);
        SimulateParticles(container, 0.25f, TCameraAxes{}, nullptr);
        const TParticle& particle = container.Particles[0];
        EXPECT_GT(particle.Position.y, 1e27f) << "mode " << mode;
        EXPECT_TRUE(std::isfinite(particle.Position.y)) << "mode " << mode;
        EXPECT_EQ(particle.Position.x, 0.0f);
        EXPECT_EQ(particle.Position.z, 0.0f);
    }
}
