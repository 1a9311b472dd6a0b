// Trails: the history recorded after each pass keeps its cadence and limits, follows its particle
// through swap-removal and copies and moves with it; the ribbons narrow and fade to nothing facing
// the camera and are drawn first, from the particles' buffer.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_trails.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

using namespace lumidor;

namespace {

// `count` resting particles, particle i at (i, 0, 0): x names a particle wherever it ends up.
TParticleEffectContainer Resting(std::int32_t count, const TParticleTrail& trail) {
    TParticleEffectContainer container;
    container.Trail = trail;
    for (std::int32_t i = 0; i < count; ++i) {
        AddParticle(container, {float(i), 0, 0}, {0.1f, 0.1f, 0}, {1, 0.5f, 0.25f}, 0, 100.0f);
        SetParticleFading(container, false, false, i);
    }
    return container;
}

// A pass of dt with every particle first lifted to y = `height` (resting particles stay there).
void PassAt(TParticleEffectContainer& container, float height, float dt = 0.1f) {
    for (std::size_t i = 0; i < container.Particles.size(); ++i)
        container.Particles[i].Position.y = height;
    UpdateAndDraw(container, dt);
}

std::vector<float> Heights(const TParticleEffectContainer& container, std::int32_t index) {
    std::vector<float> heights;
    for (const TVector3& point : TrailPoints(container, index))
        heights.push_back(point.y);
    return heights;
}

class TrailTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder(); }
};

} // namespace

TEST_F(TrailTest, RecordingCadenceOverSecondsWithPoints) {
    // Passes of 0.1 s at heights 1, 2, 3, ...; newest first. Every 0.33 s the moments fall in passes
    // 4, 7, 10, 14, 17, 20: the clock keeps what is left over.
    struct TCase {
        const char* Name;
        TParticleTrail Trail;
        int Passes;
        std::vector<float> Heights;
    } const cases[] = {
        {"before the first moment", {1.32f, 5, 0.1f, 0}, 3, {}},
        {"every 0.33 s", {1.32f, 5, 0.1f, 0}, 10, {10, 7, 4}},
        {"full: the oldest leave", {1.32f, 5, 0.1f, 0}, 20, {20, 17, 14, 10}},
        {"two points: one recorded", {0.27f, 2, 0.1f, 0}, 7, {6}},
        {"every pass", {0.38f, 5, 0.1f, 0}, 6, {6, 5, 4, 3}},
        {"one point is no trail", {1.0f, 1, 0.1f, 0}, 9, {}},
        {"no seconds", {0.0f, 5, 0.1f, 0}, 9, {}},
        {"negative seconds", {-1.0f, 5, 0.1f, 0}, 9, {}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(3, test.Trail);
        for (int pass = 1; pass <= test.Passes; ++pass)
            PassAt(container, float(pass));
        EXPECT_EQ(Heights(container, 0), test.Heights);
        EXPECT_EQ(Heights(container, 2), test.Heights);
    }
    TParticleEffectContainer many = Resting(2, {6.3f, 1000, 0.1f, 0}); // at most 64 points
    for (int pass = 1; pass <= 200; ++pass)
        PassAt(many, float(pass), 0.2f);
    EXPECT_EQ(Heights(many, 1).size(), std::size_t(kMostTrailPoints - 1));
    EXPECT_EQ(Heights(many, 1).front(), 200.0f);
}

TEST_F(TrailTest, HistoryFollowsItsParticleThroughSwapRemoval) {
    // Twelve particles record at passes 1 to 3; some die in pass 4. Slots from Limit up keep nothing,
    // and a particle moved from there into a lower slot starts an empty trail.
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Dying;
        std::int32_t Limit;
    } const cases[] = {
        {"in the middle", {3, 4, 7}, 0},
        {"first and last", {0, 11}, 0},
        {"all but one", {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11}, 0},
        {"limited to 4", {1}, 4},
        {"limited to 8, across blocks", {0, 5, 9}, 8},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(12, {0.38f, 5, 0.1f, test.Limit});
        for (int pass = 1; pass <= 3; ++pass)
            PassAt(container, float(pass));
        for (const std::int32_t i : test.Dying)
            container.Particles[std::size_t(i)].LifeLeft = 0.05f;
        PassAt(container, 4);
        ASSERT_EQ(ParticleCount(container), 12 - std::int32_t(test.Dying.size()));
        const std::int32_t limit = test.Limit > 0 ? test.Limit : 12;
        for (std::int32_t slot = 0; slot < ParticleCount(container); ++slot) {
            const float x = container.Particles[std::size_t(slot)].Position.x;
            const std::vector<float> all{4, 3, 2, 1};
            const std::size_t kept = slot >= limit ? 0 : x < float(limit) ? 4 : 1;
            EXPECT_EQ(Heights(container, slot), std::vector<float>(all.begin(), all.begin() + kept)) << slot;
            for (const TVector3& point : TrailPoints(container, slot))
                EXPECT_EQ(point.x, x) << "slot " << slot << " holds another particle's trail";
        }
    }
}

TEST_F(TrailTest, RemoveParticleMovesTheLastTrailAndNewbornsStartEmpty) {
    TParticleEffectContainer container = Resting(5, {0.38f, 5, 0.1f, 0});
    PassAt(container, 1);
    PassAt(container, 2);
    RemoveParticle(container, 1); // the last takes slot 1
    EXPECT_EQ(TrailPoints(container, 1).front().x, 4.0f);
    EXPECT_EQ(Heights(container, 1), (std::vector<float>{2, 1}));
    // A newborn in the freed slot and one past it inherit nothing of what the slots held.
    AddParticle(container, {7, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
    AddParticle(container, {8, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
    EXPECT_TRUE(TrailPoints(container, 4).empty());
    EXPECT_TRUE(TrailPoints(container, 5).empty());
    PassAt(container, 3);
    EXPECT_EQ(Heights(container, 4), std::vector<float>{3});
}

TEST_F(TrailTest, AChangeOfShapeEmptiesEveryTrail) {
    for (const TParticleTrail& shape :
         {TParticleTrail{0.76f, 9, 0.1f, 0}, TParticleTrail{0.19f, 3, 0.1f, 0},
          TParticleTrail{0.38f, 5, 0.1f, 2}, TParticleTrail{0.38f, 0, 0.1f, 0}}) {
        SCOPED_TRACE(shape.Points * 100 + shape.MaxParticles);
        TParticleEffectContainer container = Resting(20, {0.38f, 5, 0.1f, 0});
        for (int pass = 1; pass <= 6; ++pass)
            PassAt(container, float(pass));
        container.Trail = shape;
        ShapeTrails(container);
        for (std::int32_t i = 0; i < 20; ++i)
            EXPECT_TRUE(TrailPoints(container, i).empty());
        const std::size_t points = shape.Points < 2 ? 0 : std::size_t(shape.Points - 1);
        EXPECT_EQ(TrailVertexCapacity(container), 4 * points * (shape.MaxParticles ? 2 : 20));
        PassAt(container, 7); // the new shape records within its bounds
        EXPECT_EQ(Heights(container, 0).size(), std::min<std::size_t>(points, 1));
    }
}

TEST_F(TrailTest, WhatKeepsAndMovesTheHistory) {
    // After passes at heights 1 to 3: what each operation leaves of particle i's points (i, h, 0).
    struct TCase {
        const char* Name;
        std::function<void(TParticleEffectContainer&)> Operation;
        TVector3 Moved;
    } const cases[] = {
        {"TranslateParticles",
         [](TParticleEffectContainer& c) {
             TranslateParticles(c, {10, 20, 30});
         },
         {10, 20, 30}},
        {"still passes record nothing",
         [](TParticleEffectContainer& c) {
             for (int frame = 0; frame < 5; ++frame)
                 DrawParticlesStill(c);
         },
         {}},
        {"a copy of the array keeps them",
         [](TParticleEffectContainer& c) {
             const TParticleArray copy = c.Particles;
             PassAt(c, 9);
             c.Particles = copy;
         },
         {}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(9, {0.38f, 5, 0.1f, 0});
        for (int pass = 1; pass <= 3; ++pass)
            PassAt(container, float(pass));
        test.Operation(container);
        for (std::int32_t i = 0; i < 9; ++i) {
            const std::vector<TVector3> points = TrailPoints(container, i);
            ASSERT_EQ(points.size(), 3u);
            for (std::size_t k = 0; k < points.size(); ++k) {
                EXPECT_EQ(points[k].x, float(i) + test.Moved.x);
                EXPECT_EQ(points[k].y, float(3 - k) + test.Moved.y);
                EXPECT_EQ(points[k].z, test.Moved.z);
            }
        }
    }
    GL.Ready = false; // without GL the history is still recorded, and nothing GL is called
    GLRecorder().Calls.clear();
    TParticleEffectContainer headless = Resting(3, {0.38f, 5, 0.5f, 0});
    PassAt(headless, 1);
    GL.Ready = true;
    EXPECT_EQ(Heights(headless, 2), std::vector<float>{1});
    EXPECT_TRUE(GLRecorder().Calls.empty());
}

TEST_F(TrailTest, RibbonsNarrowAndFadeToNothingFacingTheCamera) {
    const struct TCase {
        const char* Name;
        TCameraAxes Camera;
        bool Moving; // else every segment has no length, and the ribbon lies along the camera's right
    } cases[] = {
        {"looking along -z", {{1, 0, 0}, {0, 1, 0}}, true},
        {"turned about y", {{0, 0, -1}, {0, 1, 0}}, true},
        {"looking down", {{1, 0, 0}, {0, 0, -1}}, true},
        {"askew", {{0.6f, 0, 0.8f}, {0, 1, 0}}, true},
        {"resting, turned", {{0, 0, -1}, {0, 1, 0}}, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(1, {0.38f, 5, 0.5f, 0});
        SetTextureProperties(container, 1, 2, 2); // tile 0: u 0 .. 0.5, v 0.5 .. 1
        for (int pass = 1; pass <= 7; ++pass) {
            if (test.Moving)
                container.Particles[0].Position = TVector3{float(pass), 0.1f * float(pass * pass), -0.5f};
            if (pass < 7) UpdateAndDraw(container, 0.1f); // the seventh is the head, not recorded
        }
        std::vector<TVector3> points = TrailPoints(container, 0);
        points.insert(points.begin(), TVector3(container.Particles[0].Position));
        std::vector<TParticleVertex> v(TrailVertexCapacity(container));
        ASSERT_EQ(WriteTrailVertices(container, test.Camera, v.data(), v.size()), 16u);
        const TVector3 toEye = CrossProduct(test.Camera.Right, test.Camera.Up);
        float lastWidth = 1.0f;
        int lastAlpha = 256;
        for (std::size_t i = 0; i < points.size(); ++i) {
            SCOPED_TRACE(i);
            // Point i's left and right corners: the first two of its quad, the last two of the one before.
            const TParticleVertex& left = i == 0 ? v[0] : v[4 * i - 1];
            const TParticleVertex& right = i == 0 ? v[1] : v[4 * i - 2];
            const TVector3 across{right.X - left.X, right.Y - left.Y, right.Z - left.Z};
            const float width = VectorLength(across);
            EXPECT_LT(width, lastWidth);
            EXPECT_LT(int(left.A), lastAlpha);
            lastWidth = width;
            lastAlpha = left.A;
            EXPECT_NEAR((left.X + right.X) / 2, points[i].x, 1e-4f);
            EXPECT_NEAR((left.Y + right.Y) / 2, points[i].y, 1e-4f);
            EXPECT_NEAR((left.Z + right.Z) / 2, points[i].z, 1e-4f);
            const TVector3 along = VectorSub(points[i == 4 ? 3 : i], points[i == 4 ? 4 : i + 1]);
            EXPECT_NEAR(DotProduct(across, toEye), 0.0f, 1e-5f);
            EXPECT_NEAR(VectorLength(CrossProduct(across, test.Moving ? toEye : test.Camera.Right)),
                        test.Moving ? width : 0.0f, 1e-5f);
            EXPECT_NEAR(DotProduct(across, along), 0.0f, 1e-4f); // a resting ribbon has no along
            EXPECT_EQ(right.A, left.A);
            EXPECT_EQ((std::vector<int>{left.R, left.G, left.B, right.R}),
                      (std::vector<int>{255, 127, 63, 255}));
            EXPECT_EQ((std::vector<float>{left.U, right.U, left.V, right.V}),
                      (std::vector<float>{0, 0.5f, 0.75f, 0.75f}));
        }
        EXPECT_NEAR(VectorLength(VectorSub({v[1].X, v[1].Y, v[1].Z}, {v[0].X, v[0].Y, v[0].Z})), 0.5f, 1e-5f);
        EXPECT_EQ(v[0].A, 255); // the particle's own opacity at the head
        EXPECT_EQ(lastWidth, 0.0f);
        EXPECT_EQ(lastAlpha, 0);
    }
}

TEST_F(TrailTest, OnlyWholeRibbonsAreWrittenWhereverTheyGo) {
    // Three ribbons of twelve vertices each.
    struct TCase {
        const char* Name;
        float Width;
        std::size_t Room;
        float Life; // particle 1's (below 0: a pass would remove it, and it draws none)
        std::size_t Written;
    } const cases[] = {
        {"room for all", 1.0f, 36, 5.0f, 36}, {"room for two", 1.0f, 35, 5.0f, 24},
        {"room for none", 1.0f, 11, 5.0f, 0}, {"no width", 0.0f, 36, 5.0f, 0},
        {"NaN width", NAN, 36, 5.0f, 0},      {"a dying particle", 1.0f, 36, -1.0f, 24},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(3, {0.285f, 4, test.Width, 0});
        for (int pass = 1; pass <= 3; ++pass)
            PassAt(container, float(pass));
        container.Particles[1].LifeLeft = test.Life;
        // 16-byte aligned vertices take streaming stores, others plain ones: the same bytes.
        TVertexBuffer aligned(36);
        std::vector<TParticleVertex> shifted(37);
        EXPECT_EQ(WriteTrailVertices(container, TCameraAxes{}, aligned.data(), test.Room), test.Written);
        EXPECT_EQ(WriteTrailVertices(container, TCameraAxes{}, shifted.data() + 1, test.Room), test.Written);
        EXPECT_EQ(std::memcmp(aligned.data(), shifted.data() + 1, test.Written * sizeof(TParticleVertex)), 0);
    }
}

TEST_F(TrailTest, UpdateAndDrawDrawsTheRibbonsFirstFromTheParticlesBuffer) {
    TParticleEffectContainer container = Resting(2, {0.38f, 5, 0.5f, 0});
    for (int pass = 1; pass <= 3; ++pass)
        PassAt(container, float(pass));
    GLRecorder().Calls.clear();
    PassAt(container, 4);
    ASSERT_EQ(container.BufferCapacity, 40);
    std::vector<std::vector<double>> draws, data;
    for (const TGLCall& call : GLRecorder().Calls) {
        if (call.Name == "DrawArrays") draws.push_back(call.Args);
        if (call.Name == "BufferDataARB") data.push_back(call.Args);
    }
    EXPECT_EQ(draws, (std::vector<std::vector<double>>{{GL_QUADS, 40, 32}, {GL_QUADS, 0, 8}}));
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0][1], double((40 + 32) * sizeof(TParticleVertex)));
    // What was drawn is what the pure function writes for the camera of the pass.
    std::vector<TParticleVertex> expected(32);
    ASSERT_EQ(WriteTrailVertices(container, TCameraAxes{}, expected.data(), expected.size()), 32u);
    const std::vector<std::uint8_t>& mapped = GLRecorder().LastMappedCopy;
    ASSERT_EQ(mapped.size(), 72 * sizeof(TParticleVertex));
    EXPECT_EQ(std::memcmp(mapped.data() + 40 * sizeof(TParticleVertex), expected.data(),
                          sizeof(TParticleVertex) * 32),
              0);
}

// A ribbon takes the colour and opacity its particle is drawn with: the colour keys' (times the
// particle's own colour when the keys are tinted) and the alpha keys' share of its opacity.
TEST_F(TrailTest, RibbonsOfKeyedParticlesTakeTheirDrawnColour) {
    const struct TCase {
        const char* Name;
        bool ColorKey, AlphaKey, Tinted;
        std::vector<int> Head; // R, G, B, A of the head's first corner
    } cases[] = {
        {"no keys: the record's colour", false, false, false, {255, 127, 63, 255}},
        {"colour key replaces it", true, false, false, {0, 255, 127, 255}},
        {"tinted key multiplies it", true, false, true, {0, 127, 31, 255}},
        {"alpha key scales the opacity", false, true, false, {255, 127, 63, 127}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(1, {0.38f, 5, 0.5f, 0});
        if (test.ColorKey) container.Life.ColorKeys = {{0.0f, {0.0f, 1.0f, 0.5f}}};
        if (test.AlphaKey) container.Life.AlphaKeys = {{0.0f, 0.5f}};
        container.Life.TintColorKeys = test.Tinted;
        for (int pass = 1; pass <= 3; ++pass) {
            container.Particles[0].Position = TVector3{float(pass), 0, 0};
            UpdateAndDraw(container, 0.1f);
        }
        std::vector<TParticleVertex> v(TrailVertexCapacity(container));
        ASSERT_GT(WriteTrailVertices(container, {{1, 0, 0}, {0, 1, 0}}, v.data(), v.size()), 0u);
        EXPECT_EQ((std::vector<int>{v[0].R, v[0].G, v[0].B, v[0].A}), test.Head);
    }
}
