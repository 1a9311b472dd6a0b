// The sweep's layers on their own: the lane operators round as the spelled-out lines would, the
// physics' edge cases, the table of sweep variants, and a sweep context of the caller's own.

#include "engine/particle_physics.h"
#include "engine/random.h"
#include "engine/simd_lanes.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace lumidor;
using namespace lumidor::lanes;

namespace {

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(LaneOperators, ThreeComponentLanesRoundPerAxisInTheWrittenOrder) {
    // Values whose sums depend on the order of the additions.
    const TLanes3<4> a{Splat<4>(1.0f), Splat<4>(1e8f), Splat<4>(-1e8f)};
    const TLanes3<4> b{Splat<4>(3.0f), Splat<4>(1.0f), Splat<4>(1.0f)};
    const float dot = Dot(a, b)[0];
    EXPECT_EQ(dot, 0.0f); // (3 + 1e8) rounds to 1e8 first
    EXPECT_EQ(1.0f * 3.0f + (1e8f * 1.0f + -1e8f * 1.0f), 3.0f) << "the order must matter here";

    const TLanes3<4> moved = a + b * Splat<4>(0.5f);
    EXPECT_EQ(moved.x[1], 2.5f);
    EXPECT_EQ(moved.y[2], 1e8f + 0.5f);
    EXPECT_EQ(moved.z[3], -1e8f + 0.5f);
    const TLanes3<4> difference = a - b;
    EXPECT_EQ(difference.x[0], -2.0f);
    EXPECT_EQ((a * b).x[0], 3.0f);
}

TEST(LaneOperators, SplatKeepsNegativeZeroAndSelectPicksPerLane) {
    EXPECT_TRUE(std::signbit(Splat<4>(-0.0f)[2]));
    const TLanes<4> values{1, 2, 3, 4};
    const TMask<4> even = values == TLanes<4>{2, 2, 4, 4};
    const TLanes<4> picked = Select(even, values, Splat<4>(-1.0f));
    EXPECT_EQ(picked[0], -1.0f);
    EXPECT_EQ(picked[1], 2.0f);
    EXPECT_EQ(picked[3], 4.0f);
    EXPECT_TRUE(Any(even));
    EXPECT_FALSE(Any(SplatMask<4>(false)));
    EXPECT_TRUE(Any(SplatMask<4>(true)));
    EXPECT_EQ(Abs(Splat<4>(-2.5f))[1], 2.5f);
    EXPECT_EQ(Sqrt(Splat<4>(6.25f))[3], 2.5f);
}

TEST(Physics, TargetInverseTurnsNaNWhereTheProductReachesTwoToThe126) {
    // Inertia 1, mass m: a = 2, b = 10 m + 1, c = m + 1.
    const float inverse = physics::TargetInverse<4>(Splat<4>(1.0f), Splat<4>(1.0f))[0];
    EXPECT_TRUE(SameBits(inverse, 1.0f / (2.0f * (11.0f * 2.0f))));
    const float huge = physics::TargetInverse<4>(Splat<4>(1.0f), Splat<4>(1e19f))[0];
    EXPECT_TRUE(std::isnan(huge));
    const float infinite =
        physics::TargetInverse<4>(Splat<4>(std::numeric_limits<float>::infinity()), Splat<4>(1))[0];
    EXPECT_TRUE(std::isnan(infinite));
}

TEST(Physics, AParticleDiesOnlyBelowZeroLife) {
    const TLanes<4> lives{0.5f, 0.25f, 0.0f, 1.0f};
    const TMask<4> dies = physics::Dies(physics::Age(lives, 0.25f));
    EXPECT_FALSE(dies[0]);
    EXPECT_FALSE(dies[1]); // exactly zero lives on this step
    EXPECT_TRUE(dies[2]);
    EXPECT_FALSE(dies[3]);
}

TEST(Physics, FadeInWinsOverFadeOutWhereBothWindowsApply) {
    physics::TFadeInputs<4> in{};
    in.LifeLength = Splat<4>(1.0f);
    in.LifeLeft = Splat<4>(0.5f);
    in.BeginFadeOut = Splat<4>(0.25f);
    in.EndFadeIn = Splat<4>(0.75f);
    in.FadeIn = Splat<4>(0.0f);
    in.FadeOut = Splat<4>(1.0f);
    in.FadeOutOn = SplatMask<4>(true);
    in.FadeInOn = TMask<4>{-1, 0, -1, 0};
    const physics::TFade<4> fade = physics::Fade(in);
    EXPECT_EQ(fade.Alpha[0], 0.5f / 0.75f); // fading in: lived / end of the fade-in
    EXPECT_EQ(fade.FadeOut[0], 0.0f);
    EXPECT_EQ(fade.Alpha[1], 0.5f / 0.75f); // fading out: left / (length - start)
    EXPECT_EQ(fade.FadeIn[1], 0.0f);
}

TEST(SweepTable, EveryCountHasOneSupportedVariantAndTheLastRunsAnywhere) {
    const auto variants = SweepVariants();
    ASSERT_FALSE(variants.empty());
    EXPECT_EQ(variants.back().Lanes, 4);
    EXPECT_TRUE(variants.back().Supported());
    EXPECT_FALSE(variants.back().Streaming);
    for (const TSweepVariant& variant : variants) {
        EXPECT_LE(variant.MinParticles, variant.MaxParticles) << variant.Name;
        EXPECT_TRUE(variant.Lanes == 4 || variant.Lanes == 8 || variant.Lanes == 16) << variant.Name;
    }
    TParticleVertex vertex{};
    for (const std::size_t count : {std::size_t(0), std::size_t(1000), std::size_t(32768), std::size_t(32769),
                                    std::size_t(100000), std::size_t(5000000)}) {
        const TSweepVariant& chosen = ChooseSweep(count, &vertex);
        EXPECT_TRUE(chosen.Supported()) << count;
        EXPECT_LE(chosen.MinParticles, count) << chosen.Name;
        EXPECT_GE(chosen.MaxParticles, count) << chosen.Name;
        EXPECT_FALSE(ChooseSweep(count, nullptr).Streaming) << "nothing to stream without vertices";
    }
}

TEST(SweepContext, ACallersOwnContextGivesTheSameParticlesAndListsThePassesDead) {
    std::vector<TParticleEffectContainer> scenes(2, MakeEveryPathScene());
    SeedRandom(5);
    for (std::int32_t i = 0; i < 300; ++i) {
        AddParticle(scenes[0], {0, 1, 0}, {1, 1, 1}, {1, 1, 1}, 0, i % 3 == 0 ? 0.01f : 5.0f);
        RandomizeParticle(scenes[0], i);
    }
    scenes[1] = scenes[0];
    TSweepContext context;
    std::vector<TParticleVertex> ours(4 * 300), theirs(4 * 300);
    const std::int32_t written =
        SimulateParticles(context, scenes[0], 0.05f, TCameraAxes{}, ours.data(), TTaskRunner{});
    const std::int32_t expected =
        SimulateParticles(scenes[1], 0.05f, TCameraAxes{}, theirs.data(), TTaskRunner{});
    ASSERT_EQ(written, expected);
    EXPECT_EQ(written, 4 * 200);
    EXPECT_EQ(std::memcmp(ours.data(), theirs.data(), sizeof(TParticleVertex) * std::size_t(written)), 0);
    for (std::int32_t i = 0; i < ParticleCount(scenes[0]); ++i) {
        const TParticle a = scenes[0].Particles[std::size_t(i)], b = scenes[1].Particles[std::size_t(i)];
        EXPECT_TRUE(SameBits(a.Position.y, b.Position.y) && SameBits(a.Velocity.x, b.Velocity.x)) << i;
    }
    // One range on the calling thread: its list holds every third particle, ascending.
    ASSERT_GE(context.Dead.size(), 1u);
    ASSERT_EQ(context.Dead[0].size(), 100u);
    for (std::size_t k = 0; k < 100; ++k)
        EXPECT_EQ(context.Dead[0][k], 3 * k);
}

} // namespace
