#include "engine/gl_recorder.h"
#include "engine/random.h"
#include "script/particle_script.h"
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumidor;

namespace {

using test::MakeScript;

class ScriptRuntime : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallGLRecorder();
        SeedRandom(1234);
    }
};

} // namespace

TEST_F(ScriptRuntime, ContinuousScriptTopsUp) {
    TParticleScript script = MakeScript(1, true);
    script.Values[0].NumParticles = 100.0f;
    script.Ranges[0].Life = {0.0f, 10.0f};
    AdvanceScript(script, {}, 0.01f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 100);
    // Seven die before the next frame: exactly seven are made.
    for (int i = 0; i < 7; ++i)
        script.Containers[0].Particles[std::size_t(i)].LifeLeft = 0.005f;
    AdvanceScript(script, {}, 0.01f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 93);
    EmitParticles(script, {});
    EXPECT_EQ(ParticleCount(script.Containers[0]), 100);
    EXPECT_EQ(CountGLCalls("DrawArrays"), 2);
}

TEST_F(ScriptRuntime, CountsTruncateAndNonContinuousFiresTheFullCount) {
    TParticleScript script = MakeScript(3, false);
    script.Values[0].NumParticles = 99.9f;
    script.Values[1].NumParticles = -5.0f;
    script.Values[2].NumParticles = 0.0f;
    AdvanceScript(script, {}, 0.01f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 0);
    EmitParticles(script, {});
    EmitParticles(script, {});
    EXPECT_EQ(ParticleCount(script.Containers[0]), 198);
    EXPECT_EQ(ParticleCount(script.Containers[1]), 0);
    EXPECT_EQ(ParticleCount(script.Containers[2]), 0);
}

TEST(ScriptParticlesToEmit, HugeInfiniteAndNaNCountsSaturateAtTheCap) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::int32_t cap = MaxScriptParticlesPerType;
    EXPECT_GE(cap, 1'000'000);
    EXPECT_EQ(ScriptParticlesToEmit(99.9f, true, 0), 99);
    EXPECT_EQ(ScriptParticlesToEmit(100.0f, true, 93), 7);
    EXPECT_EQ(ScriptParticlesToEmit(100.0f, true, 150), 0);
    EXPECT_EQ(ScriptParticlesToEmit(100.0f, false, 150), 100);
    EXPECT_EQ(ScriptParticlesToEmit(-5.0f, false, 0), 0);
    EXPECT_EQ(ScriptParticlesToEmit(nan, true, 0), 0);
    EXPECT_EQ(ScriptParticlesToEmit(-inf, false, 0), 0);
    EXPECT_EQ(ScriptParticlesToEmit(inf, true, 0), cap);
    EXPECT_EQ(ScriptParticlesToEmit(3e9f, true, 10), cap - 10);
    EXPECT_EQ(ScriptParticlesToEmit(inf, false, cap - 3), 3);
    EXPECT_EQ(ScriptParticlesToEmit(50.0f, false, cap - 3), 3);
    EXPECT_EQ(ScriptParticlesToEmit(50.0f, false, cap), 0);
}

TEST_F(ScriptRuntime, DrawOrderAndFormulas) {
    TParticleScript script = MakeScript(1, false);
    script.Values[0].NumParticles = 1.0f;
    script.VectorRanges[0].Position = {{2, 3, 4}, {-1, 1, 0.5f}};
    script.VectorRanges[0].Velocity = {{1, 2, 3}, {4, 4, 4}};
    script.Ranges[0].RandomSize = {1.0f, 2.0f};
    script.Ranges[0].Life = {1.0f, 2.0f};
    script.Ranges[0].Enlargement = {0.5f, 0.25f};
    script.Values[0].Mass = -2.0f;
    script.Vectors[0].Color = {0.1f, 0.2f, 0.3f};
    script.Vectors[0].Force = {0, 5, 0};
    script.Vectors[0].Inertia = {0.05f, 1, 2};
    script.Values[0].AirResistance = 0.3f;
    script.Values[0].BeginFadeOut = 0.6f;

    SeedRandom(99);
    float r[9];
    for (float& value : r)
        value = R();
    SeedRandom(99);
    EmitParticles(script, {10, 20, 30});
    const TParticle& p = script.Containers[0].Particles[0];
    EXPECT_FLOAT_EQ(p.Position.x, r[0] * 2 - 1 + 10);
    EXPECT_FLOAT_EQ(p.Position.y, r[1] * 3 + 1 + 20);
    EXPECT_FLOAT_EQ(p.Position.z, r[2] * 4 + 0.5f + 30);
    EXPECT_FLOAT_EQ(p.Velocity.x, (r[3] * 1 + 4) / 2);
    EXPECT_FLOAT_EQ(p.Velocity.y, (r[4] * 2 + 4) / 2);
    EXPECT_FLOAT_EQ(p.Velocity.z, (r[5] * 3 + 4) / 2);
    EXPECT_FLOAT_EQ(p.Size.x, r[6] + 1);
    EXPECT_FLOAT_EQ(p.Size.y, r[6] + 1);
    EXPECT_EQ(p.Size.z, 0.0f);
    EXPECT_FLOAT_EQ(p.LifeLength, r[7] + 2);
    EXPECT_EQ(p.LifeLeft, p.LifeLength);
    EXPECT_EQ(p.Mass, 2.0f);
    EXPECT_EQ(p.Enlargement.x, 0.5f);
    EXPECT_EQ(p.Enlargement.y, 0.25f);
    EXPECT_EQ(p.Color.z, 0.3f);
    EXPECT_EQ(p.Force.y, 5.0f);
    EXPECT_FLOAT_EQ(p.Inertia.x, 0.1f);
    EXPECT_EQ(p.AirResistance, 0.3f);
    EXPECT_EQ(p.BeginFadeOut, 0.6f);
    // The next draw belongs to the next particle: exactly eight were spent.
    EXPECT_EQ(R(), r[8]);
}

TEST_F(ScriptRuntime, ClosedRandomSizeUsesFixedSizeAndSpendsNoDraw) {
    TParticleScript script = MakeScript(1, false);
    script.Values[0].NumParticles = 1.0f;
    script.Ranges[0].RandomSize = {1.0f, 1.0f};
    script.Ranges[0].Size = {2.0f, 3.0f};
    script.Ranges[0].Life = {0.0f, 2.0f};
    SeedRandom(5);
    float r[8];
    for (float& value : r)
        value = R();
    SeedRandom(5);
    EmitParticles(script, {});
    const TParticle& p = script.Containers[0].Particles[0];
    EXPECT_EQ(p.Size.x, 2.0f);
    EXPECT_EQ(p.Size.y, 3.0f);
    EXPECT_EQ(p.LifeLength, 2.0f);
    EXPECT_EQ(R(), r[7]);
}

TEST_F(ScriptRuntime, LifeAndPositionRanges) {
    TParticleScript script = MakeScript(2, false);
    script.Values[0].NumParticles = 200.0f;
    script.Values[1].NumParticles = 200.0f;
    script.Ranges[0].Life = {1.0f, 2.0f};
    script.Ranges[1].Life = {0.0f, 2.0f};
    script.VectorRanges[0].Position = {{2, 0, 0}, {-1, 0, 0}};
    EmitParticles(script, {10, 0, 0});
    for (const TParticle& p : script.Containers[0].Particles) {
        EXPECT_GE(p.LifeLength, 2.0f);
        EXPECT_LT(p.LifeLength, 3.0f);
        EXPECT_GE(p.Position.x, 9.0f);
        EXPECT_LT(p.Position.x, 11.0f);
        EXPECT_EQ(p.Position.y, 0.0f);
        EXPECT_EQ(p.Position.z, 0.0f);
    }
    for (const TParticle& p : script.Containers[1].Particles)
        EXPECT_EQ(p.LifeLength, 2.0f);
}

TEST_F(ScriptRuntime, MassZeroKeepsTheVelocityUndivided) {
    TParticleScript script = MakeScript(2, false);
    script.Values[0].NumParticles = 1.0f;
    script.Values[0].Mass = 0.0f;
    script.VectorRanges[0].Velocity.Base = {4, -2, 1};
    script.Values[1].NumParticles = 1.0f;
    script.Values[1].Mass = 2.0f;
    script.VectorRanges[1].Velocity = {{0, 0, 0}, {4, 0, 0}};
    EmitParticles(script, {});
    const TParticle& weightless = script.Containers[0].Particles[0];
    EXPECT_EQ(weightless.Mass, 0.0f);
    EXPECT_EQ(weightless.Velocity.x, 4.0f);
    EXPECT_EQ(weightless.Velocity.y, -2.0f);
    EXPECT_EQ(weightless.Velocity.z, 1.0f);
    EXPECT_EQ(script.Containers[1].Particles[0].Velocity.x, 2.0f);
    AdvanceScript(script, {}, 0.1f);
    EXPECT_TRUE(std::isfinite(script.Containers[0].Particles[0].Position.x));
}

TEST_F(ScriptRuntime, FadeStartAndSwitches) {
    TParticleScript script = MakeScript(3, false);
    for (TScriptValues& v : script.Values)
        v.NumParticles = 1.0f;
    script.Values[0].EndFadeIn = 0.2f;
    script.FadeOut = true;
    script.FadeIn = true;
    script.Values[1].EndFadeIn = 0.0f; // fading in, yet fully opaque at the start: endfadein decides
    EmitParticles(script, {});
    EXPECT_EQ(script.Containers[0].Particles[0].FadeOutAlpha, 0.0f);
    EXPECT_EQ(script.Containers[1].Particles[0].FadeOutAlpha, 1.0f);
    EXPECT_TRUE(script.Containers[1].Particles[0].FadeIn);

    TParticleScript plain = MakeScript(1, false);
    plain.Values[0].NumParticles = 1.0f;
    EmitParticles(plain, {});
    EXPECT_FALSE(plain.Containers[0].Particles[0].FadeOut);
    EXPECT_FALSE(plain.Containers[0].Particles[0].FadeIn);
    EXPECT_EQ(plain.Containers[0].Particles[0].FadeOutAlpha, 1.0f);
}

TEST_F(ScriptRuntime, TilesStayInsideTheTable) {
    TParticleScript script = MakeScript(4, false);
    for (TScriptValues& v : script.Values)
        v.NumParticles = 1.0f;
    script.Values[0].TextureTile = 5.9f;
    script.Values[1].TextureTile = 8.0f;
    script.Values[2].TextureTile = -3e20f;
    script.Values[3].TextureTile = 3.0f;
    script.Containers[3].TextureTiles.clear(); // "textureproperties" never succeeded
    EmitParticles(script, {});
    EXPECT_EQ(script.Containers[0].Particles[0].Tile, 5);
    EXPECT_EQ(script.Containers[1].Particles[0].Tile, 7);
    EXPECT_EQ(script.Containers[2].Particles[0].Tile, 0);
    EXPECT_EQ(script.Containers[3].Particles[0].Tile, 0);
    AdvanceScript(script, {}, 0.01f);
    EXPECT_EQ(CountGLCalls("DrawArrays"), 4);
}

TEST_F(ScriptRuntime, TypesDrawInOrderWithTheirOwnBlendAndTexture) {
    TParticleScript script = MakeScript(2, true);
    script.Values[0].NumParticles = 3.0f;
    script.Values[1].NumParticles = 2.0f;
    script.Ranges[0].Life.Base = script.Ranges[1].Life.Base = 5.0f;
    SetBlendFactor(script.Containers[1], GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    SetTextureProperties(script.Containers[1], 9, 1, 1);
    AdvanceScript(script, {}, 0.01f);
    std::vector<std::vector<double>> blends, textures, draws;
    for (const TGLCall& call : GLRecorder().Calls) {
        if (call.Name == "BlendFunc") blends.push_back(call.Args);
        if (call.Name == "BindTexture") textures.push_back(call.Args);
        if (call.Name == "DrawArrays") draws.push_back(call.Args);
    }
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0][2], 12.0);
    EXPECT_EQ(draws[1][2], 8.0);
    ASSERT_GE(blends.size(), 2u);
    EXPECT_EQ(blends[0], (std::vector<double>{GL_SRC_ALPHA, GL_ONE}));
    EXPECT_EQ(blends.back(), (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    ASSERT_GE(textures.size(), 2u);
    EXPECT_EQ(textures.front()[1], 7.0);
    EXPECT_EQ(textures.back()[1], 9.0);
}

TEST_F(ScriptRuntime, ToggleDebugOverAllContainers) {
    TParticleScript empty;
    EXPECT_FALSE(ToggleScriptDebug(empty));
    TParticleScript script = MakeScript(2, false);
    EXPECT_TRUE(ToggleScriptDebug(script));
    EXPECT_TRUE(script.Containers[0].DebugMode);
    EXPECT_EQ(script.Containers[1].DebugScale, 1.0f);
    EXPECT_FALSE(ToggleScriptDebug(script));
    EXPECT_FALSE(script.Containers[0].DebugMode);
}

TEST_F(ScriptRuntime, HugeCountsStopAtTheScriptWideCapAndReleaseFreesTheGLObjects) {
    // The first type asks for 600 000, the others for every particle there is: the second gets the
    // rest of the script's budget, the third nothing.
    TParticleScript script = MakeScript(3, true);
    GLRecorder().Recording = false;
    for (TScriptValues& values : script.Values)
        values.NumParticles = 2147483647.0f;
    script.Values[0].NumParticles = 600'000.0f;
    for (TScriptRanges& ranges : script.Ranges)
        ranges.Life = {0.0f, 10.0f};
    script.Vectors[0].Force = {3e38f, -3e38f, 3e38f};
    script.VectorRanges[1].Position = {{3e38f, 3e38f, 3e38f}, {3e38f, -3e38f, 3e38f}};
    AdvanceScript(script, {}, 0.05f);
    EXPECT_EQ(ParticleCount(script.Containers[0]), 600'000);
    EXPECT_EQ(ParticleCount(script.Containers[1]), MaxScriptParticlesPerScript - 600'000);
    EXPECT_EQ(ParticleCount(script.Containers[2]), 0);
    EmitParticles(script, {});
    EXPECT_EQ(ParticleCount(script.Containers[2]), 0);

    GLRecorder().Recording = true;
    script.Texture = 9;
    ReleaseScript(script);
    EXPECT_EQ(CountGLCalls("DeleteBuffersARB"), 2); // the third type never had a buffer
    EXPECT_EQ(CountGLCalls("DeleteTextures"), 1);   // textures 7 and 9, once each
    EXPECT_TRUE(script.Containers.empty());
    EXPECT_TRUE(script.Values.empty());
    EXPECT_EQ(script.Texture, 0u);
}
