// The flow terms: the turbulence's curl noise (divergence-free, continuous, varied, of the size its
// strength says, drifting up), the vortex's turn and pull, dying on the ground, and that a system
// with any of them gives the same bits on every width, streaming build and thread count, while one
// with none of them steps exactly as before.

#include "engine/gl_recorder.h"
#include "engine/particle_motion.h"
#include "engine/particle_step_breakdown.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace lumidor;
using namespace lumidor::lanes;

namespace {

TVector3 Curl(float x, float y, float z) {
    const TLanes3<4> c =
        physics::RawCurl<4>({Splat<4>(x), Splat<4>(y), Splat<4>(z)}) * Splat<4>(physics::kCurlToUnit);
    return {c.x[0], c.y[0], c.z[0]};
}

// Lattice regions: near the origin, around negative cells, far out.
struct TRegion {
    float Center, Extent;
};
constexpr TRegion kRegions[] = {{0.0f, 4.0f}, {-7.5f, 3.0f}, {1000.0f, 5.0f}, {-3000.0f, 5.0f}};

} // namespace

TEST(CurlNoise, NumericalDivergenceIsZeroEverywhere) {
    std::mt19937 random(3);
    for (const TRegion& region : kRegions) {
        std::uniform_real_distribution<float> at(region.Center - region.Extent,
                                                 region.Center + region.Extent);
        // A power of two the float spacing at the region divides, so that x +- h is exact.
        const float h = std::fabs(region.Center) > 100.0f ? 1.0f / 64 : 1.0f / 128;
        float largest = 0.0f, partials = 0.0f;
        for (int k = 0; k < 400; ++k) {
            const float x = at(random), y = at(random), z = at(random);
            const float dx = (Curl(x + h, y, z).x - Curl(x - h, y, z).x) / (2 * h);
            const float dy = (Curl(x, y + h, z).y - Curl(x, y - h, z).y) / (2 * h);
            const float dz = (Curl(x, y, z + h).z - Curl(x, y, z - h).z) / (2 * h);
            largest = std::max(largest, std::fabs(dx + dy + dz));
            partials += std::fabs(dx) + std::fabs(dy) + std::fabs(dz);
        }
        SCOPED_TRACE(region.Center);
        EXPECT_GT(partials / 400, 0.5f) << "the field must change for the divergence to mean anything";
        EXPECT_LT(largest, 0.02f);
    }
}

TEST(CurlNoise, SmallMovesGiveSmallChangesAndTheFieldVaries) {
    std::mt19937 random(4);
    for (const TRegion& region : kRegions) {
        std::uniform_real_distribution<float> at(region.Center - region.Extent,
                                                 region.Center + region.Extent);
        const float step = std::max(1e-3f, std::fabs(region.Center) * 1e-6f);
        float largestChange = 0.0f, sum = 0.0f, squares = 0.0f;
        for (int k = 0; k < 500; ++k) {
            // Every fifth point straddles a cell boundary, where the floor of a negative coordinate
            // and the fade's ends meet.
            float x = at(random);
            if (k % 5 == 0) x = std::round(x) - step / 2;
            const float y = at(random), z = at(random);
            const TVector3 here = Curl(x, y, z);
            largestChange = std::max(largestChange, Distance(here, Curl(x + step, y, z)));
            largestChange = std::max(largestChange, Distance(here, Curl(x, y + step, z + step)));
            sum += here.y;
            squares += here.y * here.y;
        }
        SCOPED_TRACE(region.Center);
        // The field's slopes stay below about 10 per lattice unit.
        EXPECT_LT(largestChange, 10.0f * 1.5f * step);
        const float mean = sum / 500, spread = std::sqrt(squares / 500 - mean * mean);
        EXPECT_GT(spread, 0.2f) << "not a constant field";
    }
}

TEST(CurlNoise, StrengthIsTheTypicalPeak) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> at(-60.0f, 60.0f);
    std::vector<float> sizes;
    for (int k = 0; k < 20000; ++k)
        sizes.push_back(VectorLength(Curl(at(random), at(random), at(random))));
    std::sort(sizes.begin(), sizes.end());
    EXPECT_NEAR(sizes[sizes.size() * 95 / 100], 1.0f, 0.1f);
    EXPECT_LT(sizes.back(), 3.0f);
}

TEST(CurlNoise, TheFieldDriftsUpAtItsSpeedAndScalesWithItsFeatures) {
    TParticleEffectContainer container{};
    container.Flow.Turbulence = {2.0f, 0.5f, 0.75f};
    const auto at = [&](double time, const TVector3& p) {
        container.Flow.Time = time;
        const physics::TFlowPass<4> pass = physics::MakeFlowPass<4>(container, 1.0f / 60);
        const TLanes3<4> a = physics::TurbulenceAcceleration<4>(pass, Splat3<4>(p));
        return TVector3{a.x[0], a.y[0], a.z[0]};
    };
    for (const TVector3 p : {TVector3{0.3f, 0.25f, -1.2f}, TVector3{-2.0f, 4.0f, 0.7f}}) {
        // After 2 s the field has risen 1.5: what was at p is at p + (0, 1.5, 0).
        const TVector3 before = at(0.0, p), after = at(2.0, {p.x, p.y + 1.5f, p.z});
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
        // Strength 2 in lattice units of 0.5: twice the unit field at 2 p.
        const TVector3 unit = Curl(p.x * 2, p.y * 2, p.z * 2);
        EXPECT_FLOAT_EQ(before.x, 2.0f * unit.x);
        EXPECT_FLOAT_EQ(before.z, 2.0f * unit.z);
    }
}

namespace {

// One particle of no force and no velocity at center + offset, swirled by `vortex` for `steps`
// steps of dt through the sweep.
TVector3 Swirled(const TVortex& vortex, const TVector3& offset, float dt, int steps) {
    TParticleEffectContainer container{};
    container.Flow.Vortex = vortex;
    const TVector3& c = vortex.Center;
    AddParticle(container, {c.x + offset.x, c.y + offset.y, c.z + offset.z}, {1, 1, 0}, {1, 1, 1}, 0, 100.0f);
    for (int step = 0; step < steps; ++step)
        SimulateParticles(container, dt, TCameraAxes{}, nullptr);
    const TParticle p = container.Particles[0];
    EXPECT_EQ(VectorLength(p.Velocity), 0.0f) << "the swirl carries the particle, its velocity stays";
    return {p.Position.x - c.x, p.Position.y - c.y, p.Position.z - c.z};
}

} // namespace

TEST(Vortex, TurnsAboutItsAxisAndPullsTowardsIt) {
    InstallGLRecorder();
    const TVector3 center{1, 2, 3};
    const struct {
        TVector3 Axis;
        float Speed, Pull, Dt;
        int Steps;
        TVector3 From, To;
    } cases[] = {
        // A quarter turn in a second of 1/60 s steps, counter-clockwise seen from the axis' tip.
        {{0, 3, 0}, 90, 0, 1.0f / 60, 60, {2, 0.5f, 0}, {0, 0.5f, -2}},
        {{0, -1, 0}, 90, 0, 1.0f / 60, 60, {2, 0.5f, 0}, {0, 0.5f, 2}},
        {{1, 0, 0}, -180, 0, 1.0f / 60, 60, {0.3f, 1, 0}, {0.3f, -1, 0}},
        {{0, 1, 1}, 360, 0, 1.0f / 60, 60, {1, 0, 0}, {1, 0, 0}},
        // Pulled a unit a second for half a second; pulled farther than the axis, it stops there.
        {{0, 1, 0}, 0, 1, 0.25f, 2, {2, 0, 0}, {1.5f, 0, 0}},
        {{0, 1, 0}, 0, 10, 0.5f, 1, {1, 0.25f, 0}, {0, 0.25f, 0}},
        {{0, 1, 0}, 0, 10, 0.5f, 3, {0.6f, -4, 0.8f}, {0, -4, 0}},
        // Pushed away; a particle on the axis has no way out and stays.
        {{0, 1, 0}, 0, -2, 0.25f, 1, {0, 0, 1}, {0, 0, 1.5f}},
        {{0, 1, 0}, 0, -2, 0.25f, 1, {0, 0.7f, 0}, {0, 0.7f, 0}},
        // Both: a quarter turn while drawn in by half.
        {{0, 1, 0}, 90, 1, 1.0f / 60, 60, {2, 0, 0}, {0, 0, -1}},
    };
    for (const auto& c : cases) {
        const TVector3 to = Swirled({center, c.Axis, c.Speed, c.Pull}, c.From, c.Dt, c.Steps);
        SCOPED_TRACE(testing::Message() << c.Speed << " deg/s, pull " << c.Pull << ", from " << c.From.x
                                        << " " << c.From.y << " " << c.From.z);
        EXPECT_LT(Distance(to, c.To), 1e-4f) << to.x << " " << to.y << " " << to.z;
        if (c.Pull == 0) {
            EXPECT_NEAR(VectorLength(to), VectorLength(c.From), 2e-5f) << "kept its distance";
        }
    }
}

TEST(DieOnGround, AParticleThatMeetsTheGroundStopsAndDiesInTheNextPass) {
    InstallGLRecorder();
    for (const float groundY : {0.0f, -1.25f}) {
        TParticleEffectContainer container{};
        container.DieOnGround = true;
        container.Events.Enabled = true;
        SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>{0.0f, 0.0f}),
                          {-5, groundY, -5}, 10.0f, 10.0f);
        SetWorldFriction(container, {0.2f, 0.4f, 0.2f});
        AddParticle(container, {0.5f, groundY + 1, 0.25f}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
        SetParticleVelocity(container, {0.5f, -3, 0}, 0);
        AddParticle(container, {1, groundY + 3, 1}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f); // stays in the air
        int contact = -1;
        for (int pass = 0; pass < 40 && contact < 0; ++pass) {
            SimulateParticles(container, 1.0f / 60, TCameraAxes{}, nullptr);
            if (!container.Events.Bounces.empty()) contact = pass;
        }
        ASSERT_GE(contact, 0) << "it never met the ground";
        ASSERT_EQ(container.Events.Bounces.size(), 1u);
        const TParticle stopped = container.Particles[0];
        EXPECT_EQ(VectorLength(stopped.Velocity), 0.0f);
        EXPECT_LT(stopped.LifeLeft, 0.0f);
        EXPECT_NEAR(stopped.Position.y, groundY, 0.2f);
        EXPECT_EQ(container.Events.Bounces[0].Position.y, stopped.Position.y);
        EXPECT_EQ(ParticleCount(container), 2) << "it dies in the next pass, not this one";

        SimulateParticles(container, 1.0f / 60, TCameraAxes{}, nullptr);
        EXPECT_EQ(ParticleCount(container), 1);
        ASSERT_EQ(container.Events.Deaths.size(), 1u);
        const TParticleEvent& death = container.Events.Deaths[0];
        EXPECT_EQ(std::memcmp(&death.Position, &stopped.Position, sizeof death.Position), 0);
        EXPECT_EQ(VectorLength(death.Velocity), 0.0f);
        EXPECT_TRUE(container.Events.Bounces.empty());
        EXPECT_EQ(container.Particles[0].Position.y, groundY + 3);
    }
}

namespace {

// The identity scene with the flow terms: turbulence, a tilted vortex and dying on the sloped ground.
TParticleEffectContainer FlowScene(std::int32_t size, bool keyed) {
    SeedRandom(13);
    TParticleEffectContainer scene = MakeEveryPathScene();
    scene.Flow.Turbulence = {3.0f, 0.7f, 0.5f};
    scene.Flow.Vortex = {{0.2f, 0.0f, -0.1f}, {0.3f, 1.0f, 0.1f}, 120.0f, 0.4f};
    scene.DieOnGround = true;
    scene.Events.Enabled = true;
    if (keyed) {
        scene.Life.ColorKeys = {{0.0f, {1, 1, 1}}, {1.0f, {1, 0.2f, 0}}};
        scene.Life.AlphaKeys = {{0.0f, 1.0f}, {1.0f, 0.0f}};
    }
    for (std::int32_t i = 0; i < size; ++i) {
        AddParticle(scene, {R() * 4 - 2, R() * 0.6f - 0.3f, R() * 4 - 2}, {0.2f, 0.3f, 0}, {R(), R(), 1},
                    std::int32_t(R() * 8), 0.05f + R() * 0.6f);
        RandomizeParticle(scene, i);
    }
    return scene;
}

bool SameEvents(const std::vector<TParticleEvent>& a, const std::vector<TParticleEvent>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(TParticleEvent)) == 0);
}

} // namespace

class FlowSceneKeyed : public ::testing::TestWithParam<bool> {};

TEST_P(FlowSceneKeyed, EveryWidthStreamingBuildAndThreadCountGivesTheSameBits) {
    InstallGLRecorder();
    const std::int32_t size = 1003;
    const float dt = 1.0f / 30;
    const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
    const TParticleEffectContainer start = FlowScene(size, GetParam());
    std::vector<TParticleEffectContainer> reference;
    std::vector<TVertexBuffer> referenceVertices;
    TParticleEffectContainer serial = start;
    std::size_t deaths = 0, bounces = 0;
    for (int frame = 0; frame < 20; ++frame) {
        serial.Flow.Time = frame * double(dt);
        TVertexBuffer vertices(4 * std::size_t(size));
        SimulateParticlesFourLanes(serial, dt, camera, vertices.data());
        deaths += serial.Events.Deaths.size();
        bounces += serial.Events.Bounces.size();
        reference.push_back(serial);
        referenceVertices.push_back(std::move(vertices));
    }
    EXPECT_GT(deaths, 500u);
    EXPECT_GT(bounces, 20u);
    for (const TSweepFunction sweep : SupportedSweeps()) {
        for (const std::int32_t threads : {1, 2, 3}) {
            TParticleEffectContainer run = start;
            const TTaskRunner runner = threads == 1 ? TTaskRunner{} : ShuffledRunner(threads, 17);
            for (int frame = 0; frame < 20; ++frame) {
                run.Flow.Time = frame * double(dt);
                TVertexBuffer vertices(4 * std::size_t(size));
                const std::int32_t written = sweep(run, dt, camera, vertices.data(), runner);
                const TParticleEffectContainer& expected = reference[std::size_t(frame)];
                ASSERT_EQ(written, 4 * ParticleCount(expected));
                EXPECT_EQ(std::memcmp(vertices.data(), referenceVertices[std::size_t(frame)].data(),
                                      std::size_t(written) * sizeof(TParticleVertex)),
                          0)
                    << "frame " << frame << ", " << threads << " threads";
                EXPECT_TRUE(SameParticleBits(run.Particles, expected.Particles)) << "frame " << frame;
                EXPECT_TRUE(SameEvents(run.Events.Deaths, expected.Events.Deaths)) << "frame " << frame;
                EXPECT_TRUE(SameEvents(run.Events.Bounces, expected.Events.Bounces)) << "frame " << frame;
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PlainAndKeyed, FlowSceneKeyed, ::testing::Bool());

TEST(Flow, TermsThatDoNothingLeaveTheParticlesAsWithout) {
    InstallGLRecorder();
    const TParticleEffectContainer plain = FlowScene(300, true);
    // Each a setting of a new term that adds nothing to the existing ones; the one without a ground
    // takes the step with the new terms all the same.
    enum TChange { NoTurbulence, NoVortexAxis, StillVortex, NoGround };
    for (const TChange change : {NoTurbulence, NoVortexAxis, StillVortex, NoGround}) {
        TParticleEffectContainer a = plain, b = plain;
        for (TParticleEffectContainer* c : {&a, &b}) {
            c->Flow = {};
            c->DieOnGround = false;
            if (change == NoGround) c->World = TCollisionConvexWorld{};
        }
        switch (change) {
        case NoTurbulence:
            b.Flow.Turbulence = {0.0f, 1.0f, 3.0f};
            break;
        case NoVortexAxis:
            b.Flow.Vortex = {{1, 2, 3}, {0, 0, 0}, 90, 1};
            break;
        case StillVortex:
            b.Flow.Vortex = {{1, 2, 3}, {0, 1, 0}, 0, 0};
            break;
        case NoGround:
            b.DieOnGround = true;
            break;
        }
        b.Flow.Time = 7.5;
        TVertexBuffer va(1200), vb(1200);
        for (int frame = 0; frame < 10; ++frame) {
            const std::int32_t written = SimulateParticles(a, 1.0f / 30, TCameraAxes{}, va.data());
            ASSERT_EQ(written, SimulateParticles(b, 1.0f / 30, TCameraAxes{}, vb.data()));
            ASSERT_TRUE(SameParticleBits(a.Particles, b.Particles)) << "frame " << frame;
            ASSERT_EQ(std::memcmp(va.data(), vb.data(), std::size_t(written) * sizeof(TParticleVertex)), 0);
        }
    }
}

TEST(Flow, TheBreakdownShowsTheTurbulenceAndTheSwirlOfTheSweepsStep) {
    InstallGLRecorder();
    TParticleEffectContainer scene = FlowScene(200, false);
    scene.Flow.Time = 0.75;
    for (std::size_t i = 0; i < scene.Particles.size(); i += 4)
        scene.Particles[i].Position.y = -0.95f; // on the ground

    const float dt = 1.0f / 30;
    int stirred = 0, swirled = 0, stopped = 0;
    for (std::int32_t i = 0; i < ParticleCount(scene); ++i) {
        const TParticleStepBreakdown step = BreakDownParticleStep(scene, i, dt);
        TParticleEffectContainer swept = scene;
        SimulateParticlesFourLanes(swept, dt, TCameraAxes{}, nullptr);
        if (step.Dies) continue;
        const std::int32_t after = FindParticleAfterStep(swept, step);
        ASSERT_GE(after, 0) << "particle " << i << ": the breakdown's record is not the sweep's";
        stirred += VectorLength(step.Turbulence) > 0.0f;
        swirled += VectorLength(step.VortexMove) > 0.0f;
        if (step.StoppedOnGround) {
            ++stopped;
            EXPECT_EQ(VectorLength(step.After.Velocity), 0.0f);
            EXPECT_LT(step.After.LifeLeft, 0.0f);
        }
        EXPECT_LT(VectorLength(step.Turbulence), 3.0f * 3.0f) << "at most about twice the strength";
    }
    EXPECT_GT(stirred, 100);
    EXPECT_GT(swirled, 100);
    EXPECT_GT(stopped, 0);
}

TEST(Flow, UpdateAndDrawAdvancesTheDriftAndAStillFrameDoesNot) {
    InstallGLRecorder();
    TParticleEffectContainer container{};
    container.Flow.Turbulence = {1.0f, 1.0f, 1.0f};
    container.Flow.Time = 2.0;
    UpdateAndDraw(container, 0.25f); // no particle ever: still the field's clock
    EXPECT_EQ(container.Flow.Time, 2.25);
    AddParticle(container, {0, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    UpdateAndDraw(container, 0.5f);
    EXPECT_EQ(container.Flow.Time, 2.75);
    DrawParticlesStill(container);
    EXPECT_EQ(container.Flow.Time, 2.75);
}
