// Curves over a particle's life (colour, opacity, size, flipbook) as the sweep draws them, and the
// deaths and bounces a container reports when asked: their values at the edges, and that every
// width and thread count draws and reports exactly the same.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_step_breakdown.h"
#include "engine/random.h"
#include "engine/simulation.h"
#include "engine/simulation_wide.h"
#include "sweep_scene.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

using namespace lumidor;

namespace {

TParticleLifeCurves RedToBlue() {
    TParticleLifeCurves life;
    life.ColorKeys = {{0.0f, {1, 0, 0}}, {1.0f, {0, 0, 1}}};
    return life;
}

// The sample at age fraction f of a particle with a life of 2 s.
TLifeSample At(const TParticleLifeCurves& life, float f) {
    return SampleLifeCurves(life, 2.0f, 2.0f - 2.0f * f);
}

std::int32_t TileAt(const TFlipbook& book, float f) {
    TParticleLifeCurves life;
    life.Flipbook = book;
    const TLifeSample sample = At(life, f);
    EXPECT_TRUE(sample.HasTile);
    return sample.Tile;
}

} // namespace

TEST(LifeCurves, KeysInterpolateLinearlyAndHoldFlatOutside) {
    const TParticleLifeCurves life = RedToBlue();
    EXPECT_NEAR(At(life, 0.25f).Color.x, 0.75f, 1e-6f);
    EXPECT_NEAR(At(life, 0.25f).Color.z, 0.25f, 1e-6f);
    // Each key's value exactly at its time.
    EXPECT_EQ(At(life, 0.0f).Color.x, 1.0f);
    EXPECT_EQ(At(life, 1.0f).Color.z, 1.0f);
    EXPECT_EQ(At(life, 1.0f).Color.x, 0.0f);

    TParticleLifeCurves inner;
    inner.AlphaKeys = {{0.25f, 0.2f}, {0.75f, 0.6f}};
    EXPECT_EQ(At(inner, 0.0f).AlphaFactor, 0.2f);
    EXPECT_EQ(At(inner, 1.0f).AlphaFactor, 0.6f);
    EXPECT_NEAR(At(inner, 0.5f).AlphaFactor, 0.4f, 1e-6f);
    // f outside [0, 1]: a particle given more life left than its length, one past its end.
    EXPECT_EQ(SampleLifeCurves(inner, 2.0f, 5.0f).AlphaFactor, 0.2f);
    EXPECT_EQ(SampleLifeCurves(inner, 2.0f, -1.0f).AlphaFactor, 0.6f);
    EXPECT_EQ(SampleLifeCurves(inner, 2.0f, -1.0f).Fraction, 1.0f);
    // A zero life counts as birth instead of reading NaN.
    EXPECT_EQ(SampleLifeCurves(inner, 0.0f, 0.0f).AlphaFactor, 0.2f);

    TParticleLifeCurves one;
    one.SizeKeys = {{0.6f, 3.0f, 5.0f}};
    for (const float f : {0.0f, 0.6f, 1.0f}) {
        EXPECT_EQ(At(one, f).Width, 3.0f);
        EXPECT_EQ(At(one, f).Height, 5.0f);
    }
    EXPECT_FALSE(At(one, 0.5f).HasColor);
    EXPECT_EQ(At(one, 0.5f).AlphaFactor, 1.0f);
}

TEST(LifeCurves, EqualTimesStepAndKeysOutOfOrderReadSorted) {
    TParticleLifeCurves step;
    step.AlphaKeys = {{0.0f, 1.0f}, {0.5f, 0.8f}, {0.5f, 0.1f}, {1.0f, 0.0f}};
    EXPECT_NEAR(At(step, 0.25f).AlphaFactor, 0.9f, 1e-6f);
    EXPECT_EQ(At(step, 0.5f).AlphaFactor, 0.1f); // the later of the two holds from their time on
    EXPECT_NEAR(At(step, 0.75f).AlphaFactor, 0.05f, 1e-6f);
    // Sharing the first time or the last one.
    TParticleLifeCurves edges;
    edges.AlphaKeys = {{0.25f, 0.2f}, {0.25f, 0.4f}, {0.5f, 0.6f}, {0.5f, 0.9f}};
    EXPECT_EQ(At(edges, 0.125f).AlphaFactor, 0.2f);
    EXPECT_EQ(At(edges, 0.25f).AlphaFactor, 0.4f);
    EXPECT_NEAR(At(edges, 0.375f).AlphaFactor, 0.5f, 1e-6f);
    EXPECT_EQ(At(edges, 0.5f).AlphaFactor, 0.9f);
    EXPECT_EQ(At(edges, 0.75f).AlphaFactor, 0.9f);

    TParticleLifeCurves shuffled;
    shuffled.ColorKeys = {{1.0f, {0, 0, 1}}, {0.0f, {1, 0, 0}}};
    for (const float f : {0.0f, 0.3f, 1.0f}) {
        EXPECT_EQ(At(shuffled, f).Color.x, At(RedToBlue(), f).Color.x);
        EXPECT_EQ(At(shuffled, f).Color.z, At(RedToBlue(), f).Color.z);
    }
}

TEST(LifeCurves, ListsOfEveryLengthReadTheSame) {
    // Short lists pick each lane's piece by lookup, long ones visit every segment: both must give
    // each key's value at its time, the later of two keys sharing a time, and the line between.
    for (const std::size_t length : {4u, 5u, 8u, 9u, 16u, 17u, 40u}) {
        TParticleLifeCurves life;
        for (std::size_t i = 0; i < length; ++i) {
            // Times 0, 1/64, 1/64, 2/64, ...: keys 1 and 2 share a time; each read back exactly.
            const float time = float(i - (i >= 2 ? 1 : 0)) / 64.0f;
            life.AlphaKeys.push_back({time, float(i % 3) * 0.25f + 0.1f});
        }
        SCOPED_TRACE(length);
        for (std::size_t i = 0; i < length; ++i) {
            if (i == 1) continue; // overridden by key 2 from its time on
            EXPECT_EQ(At(life, life.AlphaKeys[i].Time).AlphaFactor, life.AlphaKeys[i].Alpha) << "key " << i;
        }
        EXPECT_EQ(At(life, 1.0f).AlphaFactor, life.AlphaKeys.back().Alpha);
        const TLifeAlphaKey& a = life.AlphaKeys[length - 2];
        const TLifeAlphaKey& b = life.AlphaKeys[length - 1];
        EXPECT_NEAR(At(life, (a.Time + b.Time) / 2).AlphaFactor, (a.Alpha + b.Alpha) / 2, 1e-6f);
    }
}

TEST(LifeCurves, FlipbookCyclesAndEndsOnItsLastTile) {
    const TFlipbook once{2, 4, 1.0f};
    EXPECT_EQ(TileAt(once, 0.0f), 2);
    EXPECT_EQ(TileAt(once, 0.26f), 3);
    EXPECT_EQ(TileAt(once, 0.99f), 5);
    EXPECT_EQ(TileAt(once, 1.0f), 5); // not the first tile again
    const TFlipbook twice{2, 4, 2.0f};
    EXPECT_EQ(TileAt(twice, 0.49f), 5);
    EXPECT_EQ(TileAt(twice, 0.5f), 2);
    EXPECT_EQ(TileAt(twice, 1.0f), 5);
    // One and a half cycles end halfway through the book.
    EXPECT_EQ(TileAt(TFlipbook{0, 4, 1.5f}, 1.0f), 1);
    // Far more steps than floats count exactly still land inside the book.
    for (const float f : {0.0f, 0.3f, 0.777f, 1.0f}) {
        const std::int32_t tile = TileAt(TFlipbook{10, 7, 1e30f}, f);
        EXPECT_GE(tile, 10);
        EXPECT_LE(tile, 16);
    }
    TParticleLifeCurves none;
    none.Flipbook = {0, 4, 0.0f};
    EXPECT_FALSE(At(none, 0.5f).HasTile);
    none.Flipbook = {0, 4, std::nanf("")};
    EXPECT_FALSE(At(none, 0.5f).HasTile);
}

TEST(LifeCurves, TheSweepDrawsTheCurvesAndKeepsTheRecords) {
    InstallGLRecorder();
    const auto make = [] {
        TParticleEffectContainer container{};
        SetTextureProperties(container, 1, 2, 4);
        AddParticle(container, {1, 2, 3}, {0.5f, 0.5f, 0}, {0, 1, 0}, 0, 2.0f); // default fading
        return container;
    };
    TParticleEffectContainer plain = make();
    TParticleEffectContainer keyed = make();
    keyed.Life = RedToBlue();
    keyed.Life.AlphaKeys = {{0.0f, 0.5f}};
    keyed.Life.SizeKeys = {{0.0f, 2.0f, 4.0f}};
    keyed.Life.Flipbook = {4, 4, 1.0f};
    for (const TSweepFunction sweep : SupportedSweeps()) {
        TParticleEffectContainer a = plain, b = keyed;
        TVertexBuffer plainVertices(4), keyedVertices(4);
        ASSERT_EQ(sweep(a, 0.5f, TCameraAxes{}, plainVertices.data(), TTaskRunner{}), 4);
        ASSERT_EQ(sweep(b, 0.5f, TCameraAxes{}, keyedVertices.data(), TTaskRunner{}), 4);
        EXPECT_TRUE(SameParticleBits(a.Particles, b.Particles)); // only the drawing changes
        const TParticleVertex& plainCorner = plainVertices[0];
        const TParticleVertex& corner = keyedVertices[0];
        // f = 0.25: colour (0.75, 0, 0.25); the fading's 0.75 times the key's 0.5.
        EXPECT_EQ(plainCorner.R, 0);
        EXPECT_EQ(plainCorner.G, 255);
        EXPECT_EQ(corner.R, 191);
        EXPECT_EQ(corner.G, 0);
        EXPECT_EQ(corner.B, 63);
        EXPECT_EQ(corner.A, ColorChannelByte(0.75f * 0.5f));
        // Top right corner of a 2 x 4 quad around (1, 2, 3), with tile 5 (the second of the book).
        EXPECT_EQ(corner.X, 2.0f);
        EXPECT_EQ(corner.Y, 4.0f);
        EXPECT_EQ(corner.U, a.TextureTiles[5].U[0]);
        EXPECT_EQ(corner.V, a.TextureTiles[5].V[0]);
        EXPECT_NE(plainCorner.U == corner.U && plainCorner.V == corner.V, true);
    }
    // The step breakdown shows what the curves draw for the inspected particle.
    const TParticleStepBreakdown step = BreakDownParticleStep(keyed, 0, 0.5f);
    EXPECT_EQ(step.Life.Fraction, 0.25f);
    EXPECT_TRUE(step.Life.HasColor && step.Life.HasSize && step.Life.HasTile);
    EXPECT_EQ(step.Life.Tile, 5);
    EXPECT_FALSE(BreakDownParticleStep(plain, 0, 0.5f).Life.HasColor);
}

namespace {

// The identity scene with short lives and a ground to bounce on, drawn through every curve; with
// `longLists`, through lists and a book longer than four and eight lanes hold.
TParticleEffectContainer KeyedScene(std::int32_t size, bool longLists = false) {
    SeedRandom(9);
    TParticleEffectContainer scene = MakeEveryPathScene();
    scene.Life.ColorKeys = {{0.1f, {1, 1, 1}}, {0.5f, {1, 0.5f, 0}}, {1.0f, {0.1f, 0, 0}}};
    scene.Life.AlphaKeys = {{0.0f, 0.0f}, {0.2f, 1.0f}, {1.0f, 0.0f}};
    scene.Life.SizeKeys = {{0.0f, 0.1f, 0.1f}, {1.0f, 0.6f, 0.9f}};
    scene.Life.Flipbook = {1, 6, 2.5f};
    if (longLists) {
        scene.Life.ColorKeys.clear();
        scene.Life.AlphaKeys.clear();
        for (int i = 0; i < 12; ++i) {
            const float time = float(i / 2 * 2) / 11.0f; // pairs share a time
            scene.Life.ColorKeys.push_back({time, {float(i % 2), float(i % 3) * 0.5f, 1.0f - time}});
            if (i < 6) scene.Life.AlphaKeys.push_back({float(i) / 5.0f, float(i % 2)});
        }
        scene.Life.Flipbook = {0, 8, 1.5f}; // the whole 2 x 4 atlas
    }
    scene.Events.Enabled = true;
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

TTaskRunner ShuffledRunner(std::int32_t threads) {
    return lumidor::ShuffledRunner(threads, 3);
}

} // namespace

class LifeCurvesOfLength : public ::testing::TestWithParam<bool> {};

TEST_P(LifeCurvesOfLength, EveryWidthAndThreadCountDrawsAndReportsAlike) {
    InstallGLRecorder();
    const std::int32_t size = 1003;
    const TCameraAxes camera{{0.8f, 0, -0.6f}, {0, 1, 0}};
    const TParticleEffectContainer start = KeyedScene(size, GetParam());
    std::vector<TParticleEffectContainer> reference;
    std::vector<TVertexBuffer> referenceVertices;
    TParticleEffectContainer serial = start;
    std::size_t deaths = 0, bounces = 0;
    for (int frame = 0; frame < 20; ++frame) {
        TVertexBuffer vertices(4 * std::size_t(size));
        SimulateParticlesFourLanes(serial, 1.0f / 30, camera, vertices.data());
        deaths += serial.Events.Deaths.size();
        bounces += serial.Events.Bounces.size();
        reference.push_back(serial);
        referenceVertices.push_back(std::move(vertices));
    }
    EXPECT_GT(deaths, 500u);
    EXPECT_GT(bounces, 20u);
    for (const TSweepFunction sweep : SupportedSweeps()) {
        for (const std::int32_t threads : {1, 4, 5}) {
            TParticleEffectContainer run = start;
            const TTaskRunner runner = threads == 1 ? TTaskRunner{} : ShuffledRunner(threads);
            for (int frame = 0; frame < 20; ++frame) {
                TVertexBuffer vertices(4 * std::size_t(size));
                const std::int32_t written = sweep(run, 1.0f / 30, camera, vertices.data(), runner);
                const TParticleEffectContainer& expected = reference[std::size_t(frame)];
                ASSERT_EQ(written, 4 * ParticleCount(expected));
                EXPECT_EQ(std::memcmp(vertices.data(), referenceVertices[std::size_t(frame)].data(),
                                      std::size_t(written) * sizeof(TParticleVertex)),
                          0)
                    << "frame " << frame << ", " << threads << " threads";
                EXPECT_TRUE(SameParticleBits(run.Particles, expected.Particles));
                EXPECT_TRUE(SameEvents(run.Events.Deaths, expected.Events.Deaths)) << "frame " << frame;
                EXPECT_TRUE(SameEvents(run.Events.Bounces, expected.Events.Bounces)) << "frame " << frame;
                if (::testing::Test::HasFailure()) return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ShortAndLongLists, LifeCurvesOfLength, ::testing::Bool());

TEST(LifeCurves, CurvesLeaveTheParticlesAsWithout) {
    InstallGLRecorder();
    TParticleEffectContainer keyed = KeyedScene(300);
    TParticleEffectContainer plain = keyed;
    plain.Life = {};
    plain.Events.Enabled = false;
    TVertexBuffer vertices(1200);
    for (int frame = 0; frame < 10; ++frame) {
        SimulateParticles(keyed, 1.0f / 30, TCameraAxes{}, vertices.data());
        SimulateParticles(plain, 1.0f / 30, TCameraAxes{}, vertices.data());
        ASSERT_TRUE(SameParticleBits(keyed.Particles, plain.Particles)) << "frame " << frame;
    }
    EXPECT_TRUE(plain.Events.Deaths.empty());
    EXPECT_TRUE(plain.Events.Bounces.empty());
}

TEST(ParticleEvents, DeathsAreReportedOnceWhereTheParticleWas) {
    InstallGLRecorder();
    TParticleEffectContainer container{};
    container.Events.Enabled = true;
    AddParticle(container, {1, 2, 3}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    AddParticle(container, {4, 5, 6}, {1, 1, 0}, {1, 1, 1}, 0, 0.15f);
    SetParticleVelocity(container, {0.5f, 0, -1}, 1);
    AddParticle(container, {7, 8, 9}, {1, 1, 0}, {1, 1, 1}, 0, 0.25f);
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr);
    EXPECT_TRUE(container.Events.Deaths.empty());
    const TVector3 before = container.Particles[1].Position;
    const TVector3 velocity = container.Particles[1].Velocity;
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr); // particle 1 dies, 2 lives on
    ASSERT_EQ(container.Events.Deaths.size(), 1u);
    EXPECT_EQ(std::memcmp(&container.Events.Deaths[0].Position, &before, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&container.Events.Deaths[0].Velocity, &velocity, sizeof velocity), 0);
    EXPECT_EQ(ParticleCount(container), 2);
    SimulateParticles(container, 0.01f, TCameraAxes{}, nullptr);
    EXPECT_TRUE(container.Events.Deaths.empty()); // each pass reports its own
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr);
    ASSERT_EQ(container.Events.Deaths.size(), 1u);
    EXPECT_EQ(container.Events.Deaths[0].Position.x, 7.0f); // it never moved
    EXPECT_EQ(container.Events.Deaths[0].Position.z, 9.0f);
}

TEST(ParticleEvents, BouncesAreReportedWithTheVelocityAfterTheBounce) {
    InstallGLRecorder();
    TParticleEffectContainer container{};
    container.Events.Enabled = true;
    SetCollisionWorld(container, std::make_shared<HDataArray>(2, std::vector<float>{0.0f, 0.0f}), {-5, 0, -5},
                      10.0f, 10.0f);
    AddParticle(container, {0, 0.05f, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    SetParticleVelocity(container, {0, -1, 0}, 0);
    AddParticle(container, {1, 3, 1}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f); // far above the ground
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr);
    ASSERT_EQ(container.Events.Bounces.size(), 1u);
    const TParticleEvent& bounce = container.Events.Bounces[0];
    EXPECT_GT(bounce.Velocity.y, 0.0f);
    EXPECT_EQ(bounce.Velocity.y, container.Particles[0].Velocity.y);
    EXPECT_EQ(bounce.Position.y, container.Particles[0].Position.y);

    // Nobody asks: nothing is reported, however many bounce.
    container.Events = {};
    SetParticleVelocity(container, {0, -1, 0}, 0);
    container.Particles[0].Position = {0, 0.05f, 0};
    SimulateParticles(container, 0.1f, TCameraAxes{}, nullptr);
    EXPECT_GT(container.Particles[0].Velocity.y, 0.0f); // it did bounce
    EXPECT_TRUE(container.Events.Bounces.empty());
    EXPECT_TRUE(container.Events.Deaths.empty());
}
