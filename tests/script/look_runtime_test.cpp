// The runtime of the commands of how particles look and move: births at a rate with the fraction
// carried, the particle count's cap, local types carried with the origin, the script's ground and the
// bounce shares, the plane of discs and rings, tints, the emitter path, what each container is handed
// before its pass, and types without these commands left as they were.

#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace lumidor;

namespace {

class LookRuntime : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder().Recording = false;
        SeedRandom(11);
    }
};

/// One type whose particles live long and stand still unless told otherwise, with its look in use.
TParticleScript StillScript(int types = 1) {
    TParticleScript script = test::MakeScript(types, false);
    script.Look.resize(std::size_t(types));
    for (std::size_t t = 0; t < std::size_t(types); ++t) {
        script.Ranges[t].Life = {0.0f, 100.0f};
        script.Vectors[t].Color = {1, 1, 1};
        script.Look[t].Used = true;
    }
    return script;
}

std::vector<std::int32_t> BirthsPerFrame(TParticleScript& script, int frames) {
    std::vector<std::int32_t> births;
    for (int f = 0; f < frames; ++f) {
        const std::int32_t before = ParticleCount(script.Containers[0]);
        AdvanceScript(script, {}, ScriptStepSeconds);
        births.push_back(ParticleCount(script.Containers[0]) - before);
    }
    return births;
}

TVector3 PositionOf(const TParticleScript& script, std::size_t type, std::size_t index) {
    const TParticle particle = script.Containers[type].Particles[index];
    return particle.Position;
}

} // namespace

TEST_F(LookRuntime, RateEmitsEvenlyWithTheFractionCarried) {
    struct TCase {
        float Rate;
        std::vector<std::int32_t> FirstFrames;
        std::int32_t InOneSecond;
    };
    const TCase cases[] = {
        {90.0f, {1, 2, 1, 2, 1, 2}, 90}, {30.0f, {0, 1, 0, 1, 0, 1}, 30}, {60.0f, {1, 1, 1, 1, 1, 1}, 60},
        {0.5f, {0, 0, 0, 0, 0, 0}, 0},   {0.0f, {0, 0, 0, 0, 0, 0}, 0},
    };
    for (const TCase& c : cases) {
        TParticleScript script = StillScript();
        script.Look[0].HasRate = true;
        script.Look[0].Rate = c.Rate;
        const std::vector<std::int32_t> births = BirthsPerFrame(script, 60);
        EXPECT_EQ(std::vector<std::int32_t>(births.begin(), births.begin() + 6), c.FirstFrames) << c.Rate;
        EXPECT_EQ(ParticleCount(script.Containers[0]), c.InOneSecond) << c.Rate;
        // Independent of "continiuous": a continuous script with no count makes the same births.
        TParticleScript continuous = StillScript();
        continuous.Continuous = true;
        continuous.Look[0].HasRate = true;
        continuous.Look[0].Rate = c.Rate;
        EXPECT_EQ(BirthsPerFrame(continuous, 60), births) << c.Rate;
    }
    // Half a particle a second: the first after two seconds.
    TParticleScript slow = StillScript();
    slow.Look[0].HasRate = true;
    slow.Look[0].Rate = 0.5f;
    BirthsPerFrame(slow, 121);
    EXPECT_EQ(ParticleCount(slow.Containers[0]), 1);
    EXPECT_FALSE(ScriptFinished(slow));
    EXPECT_FALSE(ScriptLength(slow).has_value());
}

TEST_F(LookRuntime, AParticleCountAboveZeroCapsTheLiveParticles) {
    for (const float count : {5.0f, 1.0f, 12.9f}) {
        TParticleScript script = StillScript();
        script.Look[0].HasRate = true;
        script.Look[0].Rate = 600.0f;
        script.Values[0].NumParticles = count;
        for (int f = 0; f < 30; ++f) {
            AdvanceScript(script, {}, ScriptStepSeconds);
            ASSERT_LE(ParticleCount(script.Containers[0]), std::int32_t(count)) << count << ", frame " << f;
        }
        EXPECT_EQ(ParticleCount(script.Containers[0]), std::int32_t(count)) << count;
    }
}

TEST_F(LookRuntime, LocalTypesMoveWithTheOriginFromTheSecondFrameOn) {
    TParticleScript script = StillScript(2);
    script.Look[0].Local = true;
    for (TScriptEmission& emission : script.Emission)
        emission.Bursts = {{0.0f, 3, 0.0f, 0}};
    AdvanceScript(script, {1, 0, 0}, ScriptStepSeconds);
    for (std::size_t type = 0; type < 2; ++type)
        EXPECT_EQ(PositionOf(script, type, 0).x, 1.0f) << "the first frame moves nothing";
    const TVector3 moves[] = {{2, 3, -1}, {2, 3, -1}, {-4, 0.5f, 8}};
    TVector3 expected{1, 0, 0};
    for (const TVector3& to : moves) {
        AdvanceScript(script, to, ScriptStepSeconds);
        expected = to;
        for (std::size_t i = 0; i < 3; ++i) {
            const TVector3 local = PositionOf(script, 0, i);
            EXPECT_EQ(local.x, expected.x);
            EXPECT_EQ(local.y, expected.y);
            EXPECT_EQ(local.z, expected.z);
            EXPECT_EQ(PositionOf(script, 1, i).x, 1.0f) << "a type without local stays";
        }
    }
    // A restart forgets the last origin: its first frame moves nothing again.
    RestartScript(script);
    AdvanceScript(script, {7, 0, 0}, ScriptStepSeconds);
    EXPECT_EQ(PositionOf(script, 0, 0).x, 7.0f);
}

TEST_F(LookRuntime, GroundLiesUnderTheOriginWithEachTypesBounce) {
    TParticleScript script = StillScript(3);
    script.HasGround = true;
    script.GroundHeight = -1.5f;
    script.Look[0].HasBounce = true;
    script.Look[0].KeepY = 0.3f;
    script.Look[0].KeepXZ = 0.9f;
    script.Look[1].DieOnGround = true;
    script.Look[2].Used = false; // a type without look commands gets the ground too
    for (const TVector3 origin : {TVector3{2, 3, 4}, TVector3{-10, 0, 0.5f}}) {
        AdvanceScript(script, origin, ScriptStepSeconds);
        for (std::size_t type = 0; type < 3; ++type) {
            const TCollisionConvexWorld& world = script.Containers[type].World;
            ASSERT_TRUE(HasCollision(world)) << type;
            EXPECT_EQ(world.Origin.x, origin.x - 500.0f);
            EXPECT_EQ(world.Origin.y, origin.y - 1.5f);
            EXPECT_EQ(world.Origin.z, origin.z - 500.0f);
            EXPECT_EQ(world.Extent.x, ScriptGroundSize);
            EXPECT_EQ(world.Extent.z, ScriptGroundSize);
        }
    }
    const TVector3 bounced = script.Containers[0].World.WorldFriction;
    EXPECT_EQ(bounced.x, 1.0f - 0.9f);
    EXPECT_EQ(bounced.y, 1.0f - 0.3f);
    EXPECT_EQ(bounced.z, 1.0f - 0.9f);
    for (std::size_t type = 1; type < 3; ++type) {
        const TVector3 friction = script.Containers[type].World.WorldFriction;
        EXPECT_EQ(friction.x, 0.2f);
        EXPECT_EQ(friction.y, 0.4f);
        EXPECT_EQ(friction.z, 0.2f);
    }
    EXPECT_FALSE(script.Containers[0].DieOnGround);
    EXPECT_TRUE(script.Containers[1].DieOnGround);

    TParticleScript without = StillScript();
    AdvanceScript(without, {2, 3, 4}, ScriptStepSeconds);
    EXPECT_FALSE(HasCollision(without.Containers[0].World));
}

TEST_F(LookRuntime, ParticlesFallingOntoTheGroundStayAboveIt) {
    TParticleScript script = StillScript();
    script.HasGround = true;
    script.GroundHeight = -1.0f;
    script.Vectors[0].Force = {0, -5, 0};
    script.Vectors[0].Inertia = {1, 1, 1};
    script.Emission[0].Bursts = {{0.0f, 20, 0.0f, 0}};
    script.VectorRanges[0].Position = {{2, 0, 2}, {-1, 0, -1}};
    for (int f = 0; f < 240; ++f)
        AdvanceScript(script, {0, 2, 0}, ScriptStepSeconds);
    ASSERT_EQ(ParticleCount(script.Containers[0]), 20);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_GT(PositionOf(script, 0, i).y, 2.0f - 1.0f - 0.21f) << i;
}

TEST_F(LookRuntime, DiscsAndRingsLieInThePlaneNormalToTheShapeAxis) {
    const TVector3 axes[] = {{0, 0, 1}, {1, 1, 0}, {1, 0, 0}, {0.2f, -1, 0.3f}};
    for (const TEmitterShape shape : {TEmitterShape::Disc, TEmitterShape::Ring}) {
        for (const TVector3& axis : axes) {
            TParticleScript script = StillScript();
            script.Emission[0].Emitter = {shape, 2.0f, 0.0f};
            script.Look[0].HasShapeAxis = true;
            script.Look[0].ShapeAxis = axis;
            const TVector3 origin{1, 2, 3};
            script.Values[0].NumParticles = 200.0f;
            EmitParticles(script, origin);
            const float length = VectorLength(axis);
            for (std::size_t i = 0; i < 200; ++i) {
                const TVector3 away = VectorSub(PositionOf(script, 0, i), origin);
                const float along = (away.x * axis.x + away.y * axis.y + away.z * axis.z) / length;
                EXPECT_NEAR(along, 0.0f, 1e-5f) << i;
                EXPECT_LE(VectorLength(away), 2.0f + 1e-5f);
                if (shape == TEmitterShape::Ring) {
                    EXPECT_NEAR(VectorLength(away), 2.0f, 1e-5f);
                }
            }
        }
    }
}

TEST_F(LookRuntime, TheUpAxisGivesTheHorizontalDiscBitForBit) {
    for (const TEmitterShape shape : {TEmitterShape::Disc, TEmitterShape::Ring}) {
        TParticleScript plain = StillScript();
        plain.Look[0].Used = false;
        plain.Emission[0].Emitter = {shape, 1.5f, 2.0f};
        plain.Values[0].NumParticles = 50.0f;
        TParticleScript upright = plain;
        upright.Look[0].Used = true;
        upright.Look[0].HasShapeAxis = true;
        upright.Look[0].ShapeAxis = {0, 4, 0};
        SeedRandom(3);
        EmitParticles(plain, {1, -0.0f, 2});
        SeedRandom(3);
        EmitParticles(upright, {1, -0.0f, 2});
        EXPECT_TRUE(SameParticleBits(plain.Containers[0].Particles, upright.Containers[0].Particles));
    }
}

TEST_F(LookRuntime, TypesWithoutNewBirthCommandsDrawTheSameRandomNumbers) {
    // A type that only stretches, trails or swirls is born bit for bit as without its look, and the
    // draws after it are the same, so the next type too.
    TParticleScript plain = StillScript(2);
    for (TScriptLook& look : plain.Look)
        look = TScriptLook{};
    for (TScriptEmission& emission : plain.Emission)
        emission.Bursts = {{0.0f, 40, 0.5f, 3}};
    plain.VectorRanges[0].Velocity = {{1, 1, 1}, {-0.5f, 0, -0.5f}};
    TParticleScript looked = plain;
    looked.Look[0].Used = true;
    looked.Look[0].Stretch = 0.1f;
    looked.Look[0].Trail = {0.5f, 8, 0.1f, 0};
    looked.Look[0].HasBounce = true;
    SeedRandom(8);
    for (int f = 0; f < 90; ++f)
        AdvanceScript(plain, {0, 1, 0}, ScriptStepSeconds);
    SeedRandom(8);
    for (int f = 0; f < 90; ++f)
        AdvanceScript(looked, {0, 1, 0}, ScriptStepSeconds);
    for (std::size_t type = 0; type < 2; ++type)
        EXPECT_TRUE(SameParticleBits(plain.Containers[type].Particles, looked.Containers[type].Particles))
            << type;
}

TEST_F(LookRuntime, TintsLieBetweenTheirColoursTimesTheTypesColour) {
    struct TCase {
        bool Keys;
        TVector3 Color;
    };
    for (const TCase c : {TCase{false, {0.5f, 1, 0.25f}}, TCase{true, {0.5f, 1, 0.25f}}}) {
        TParticleScript script = StillScript();
        script.Vectors[0].Color = c.Color;
        script.Look[0].HasTint = true;
        script.Look[0].TintFirst = {1, 0, 0.5f};
        script.Look[0].TintSecond = {0, 1, 0.5f};
        if (c.Keys) script.Containers[0].Life.ColorKeys = {{0.0f, {1, 1, 1}}};
        script.Emission[0].Bursts = {{0.0f, 300, 0.0f, 0}};
        AdvanceScript(script, {}, ScriptStepSeconds);
        EXPECT_EQ(script.Containers[0].Life.TintColorKeys, c.Keys);
        const TVector3 scale = c.Keys ? TVector3{1, 1, 1} : c.Color;
        float lowest = 1.0f, highest = 0.0f;
        for (std::size_t i = 0; i < 300; ++i) {
            const TParticle particle = script.Containers[0].Particles[i];
            const float t = particle.Color.y / scale.y; // the blend factor
            EXPECT_GE(t, 0.0f);
            EXPECT_LE(t, 1.0f);
            EXPECT_NEAR(particle.Color.x, scale.x * (1.0f - t), 1e-6f);
            EXPECT_EQ(particle.Color.z, scale.z * 0.5f);
            lowest = std::min(lowest, t);
            highest = std::max(highest, t);
        }
        EXPECT_LT(lowest, 0.1f);
        EXPECT_GT(highest, 0.9f);
    }
}

TEST_F(LookRuntime, ContainersAreHandedTheirLookBeforeThePass) {
    TParticleScript script = StillScript(3);
    script.Look[0].HasRotation = true;
    script.Look[0].Stretch = 0.25f;
    script.Look[0].Turbulence = {2, 3, 4};
    script.Look[0].Vortex.Axis = {1, 0, 0};
    script.Look[0].Vortex.Speed = 90;
    script.Look[0].Trail = {1, 16, 0.1f, 0};
    script.Look[1].HasSpin = true;
    script.Look[1].Trail = {1, 8, 0.1f, 0};
    script.Look[2].Used = false;
    AdvanceScript(script, {1, 2, 3}, 0.5f);
    AdvanceScript(script, {4, 5, 6}, 0.5f);
    const TParticleEffectContainer& first = script.Containers[0];
    EXPECT_TRUE(first.Rotating);
    EXPECT_EQ(first.Stretch, 0.25f);
    EXPECT_EQ(first.Flow.Turbulence.Scale, 3.0f);
    EXPECT_EQ(first.Flow.Vortex.Axis.x, 1.0f);
    EXPECT_EQ(first.Flow.Vortex.Speed, 90.0f);
    EXPECT_EQ(first.Flow.Vortex.Center.x, 4.0f);
    EXPECT_EQ(first.Flow.Vortex.Center.z, 6.0f);
    // Two trailing types share the script's points equally.
    EXPECT_EQ(first.Trail.MaxParticles, MaxScriptTrailPoints / 2 / 16);
    EXPECT_EQ(script.Containers[1].Trail.MaxParticles, MaxScriptTrailPoints / 2 / 8);
    EXPECT_TRUE(script.Containers[1].Rotating);
    EXPECT_FALSE(script.Containers[2].Rotating);
    EXPECT_EQ(script.Containers[2].Trail.Points, 0);
}

TEST_F(LookRuntime, EmitterPathsAndTheirNames) {
    struct TCase {
        TEmitterPath Path;
        double Seconds;
        TVector3 Offset;
    };
    const TCase cases[] = {
        {TEmitterPath::Still, 3.0, {0, 0, 0}},
        {TEmitterPath::Circle, 0.0, {1.5f, 0, 0}},
        {TEmitterPath::Circle, 1.0, {0, 0, 1.5f}},
        {TEmitterPath::Circle, 2.0, {-1.5f, 0, 0}},
        {TEmitterPath::Circle, 4.0, {1.5f, 0, 0}},
        {TEmitterPath::FigureOfEight, 0.0, {1.5f, 0, 0}},
        {TEmitterPath::FigureOfEight, 1.5, {0, 0, 0}},
        {TEmitterPath::FigureOfEight, 3.0, {-1.5f, 0, 0}},
        {TEmitterPath::FigureOfEight, 6.0, {1.5f, 0, 0}},
    };
    for (const TCase& c : cases) {
        const TVector3 offset = EmitterPathOffset(c.Path, c.Seconds);
        EXPECT_NEAR(offset.x, c.Offset.x, 1e-6f) << int(c.Path) << " at " << c.Seconds;
        EXPECT_EQ(offset.y, 0.0f);
        EXPECT_NEAR(offset.z, c.Offset.z, 1e-6f) << int(c.Path) << " at " << c.Seconds;
    }
    // The eight stays 3 wide and crosses itself at the origin.
    for (double s = 0.0; s < 6.0; s += 0.05) {
        const TVector3 offset = EmitterPathOffset(TEmitterPath::FigureOfEight, s);
        EXPECT_LE(std::fabs(offset.x), 1.5f);
        EXPECT_LE(std::fabs(offset.z), 0.54f);
    }
    EXPECT_EQ(ParseEmitterPath("still"), TEmitterPath::Still);
    EXPECT_EQ(ParseEmitterPath("Circle"), TEmitterPath::Circle);
    EXPECT_EQ(ParseEmitterPath("eight"), TEmitterPath::FigureOfEight);
    EXPECT_EQ(ParseEmitterPath("figure-of-eight"), TEmitterPath::FigureOfEight);
    EXPECT_FALSE(ParseEmitterPath("square").has_value());
    EXPECT_FALSE(ParseEmitterPath("").has_value());
}

TEST_F(LookRuntime, BirthsFollowTheEmitterPathByTheScriptsClock) {
    TParticleScript script = StillScript();
    script.EmitterPath = TEmitterPath::Circle;
    script.Emission[0].Bursts = {{0.0f, 1, 1.0f, 2}};
    const TVector3 host{10, 0, 0};
    for (int f = 0; f <= 120; ++f)
        AdvanceScript(script, host, ScriptStepSeconds);
    ASSERT_EQ(ParticleCount(script.Containers[0]), 3);
    // The bursts fired at the first frames whose start reached 0, 1 and 2 s.
    for (std::size_t i = 0; i < 3; ++i) {
        const double fired = double(std::int64_t(i) * 60) * double(ScriptStepSeconds);
        const TVector3 expected = VectorAdd(host, EmitterPathOffset(TEmitterPath::Circle, fired));
        EXPECT_NEAR(PositionOf(script, 0, i).x, expected.x, 1e-5f) << i;
        EXPECT_NEAR(PositionOf(script, 0, i).z, expected.z, 1e-5f) << i;
    }
}
