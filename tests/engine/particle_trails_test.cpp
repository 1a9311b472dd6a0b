// Trails: the history recorded after each pass follows its particle through swap-removal and copies,
// keeps its cadence and its limits, moves with the particles; the ribbons narrow and fade to nothing
// and face the camera; the still pass draws them and records nothing.

#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/particle_trails.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
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
void PassAt(TParticleEffectContainer& container, float height, float dt) {
    for (std::size_t i = 0; i < container.Particles.size(); ++i)
        container.Particles[i].Position.y = height;
    UpdateAndDraw(container, dt);
}

std::vector<float> Heights(const std::vector<TVector3>& points) {
    std::vector<float> heights;
    for (const TVector3& point : points)
        heights.push_back(point.y);
    return heights;
}

class TrailTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder(); }
};

} // namespace

TEST_F(TrailTest, RecordingCadenceOverSecondsWithPoints) {
    // Passes of 0.1 s at heights 1, 2, 3, ...: what particle 0 holds after `passes`, newest first.
    // Every 0.33 s, the moments fall in passes 4, 7, 10, 14, 17, 20 (the clock keeps what is left over).
    struct TCase {
        const char* Name;
        TParticleTrail Trail;
        int Passes;
        std::vector<float> Heights;
    };
    const TCase cases[] = {
        {"before the first moment", {1.32f, 5, 0.1f, 0}, 3, {}},
        {"every 0.33 s", {1.32f, 5, 0.1f, 0}, 10, {10, 7, 4}},
        {"full: the oldest leave", {1.32f, 5, 0.1f, 0}, 20, {20, 17, 14, 10}},
        {"two points: one recorded", {0.27f, 2, 0.1f, 0}, 7, {6}},
        {"every pass", {0.38f, 5, 0.1f, 0}, 6, {6, 5, 4, 3}},
        {"one point is no trail", {1.0f, 1, 0.1f, 0}, 9, {}},
        {"no seconds, no recording", {0.0f, 5, 0.1f, 0}, 9, {}},
        {"negative seconds", {-1.0f, 5, 0.1f, 0}, 9, {}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(3, test.Trail);
        for (int pass = 1; pass <= test.Passes; ++pass)
            PassAt(container, float(pass), 0.1f);
        EXPECT_EQ(Heights(TrailPoints(container, 0)), test.Heights);
        EXPECT_EQ(Heights(TrailPoints(container, 2)), test.Heights);
    }
}

TEST_F(TrailTest, PointsAreAtMostSixtyFour) {
    TParticleEffectContainer container = Resting(2, {6.3f, 1000, 0.1f, 0});
    for (int pass = 1; pass <= 200; ++pass)
        PassAt(container, float(pass), 0.2f);
    EXPECT_EQ(TrailPoints(container, 1).size(), std::size_t(kMostTrailPoints - 1));
    EXPECT_EQ(TrailPoints(container, 1).front().y, 200.0f);
}

TEST_F(TrailTest, HistoryFollowsItsParticleThroughSwapRemoval) {
    struct TCase {
        const char* Name;
        std::vector<std::int32_t> Dying;
    };
    const TCase cases[] = {
        {"in the middle", {3, 4, 7}},
        {"first and last", {0, 11}},
        {"all but one", {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11}},
        {"across blocks", {1, 9, 10}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(12, {0.38f, 5, 0.1f, 0});
        for (int pass = 1; pass <= 3; ++pass)
            PassAt(container, float(pass), 0.1f);
        for (const std::int32_t i : test.Dying)
            container.Particles[std::size_t(i)].LifeLeft = 0.05f;
        PassAt(container, 4, 0.1f);
        ASSERT_EQ(ParticleCount(container), 12 - std::int32_t(test.Dying.size()));
        for (std::int32_t i = 0; i < ParticleCount(container); ++i) {
            const float x = container.Particles[std::size_t(i)].Position.x;
            const std::vector<TVector3> points = TrailPoints(container, i);
            EXPECT_EQ(Heights(points), (std::vector<float>{4, 3, 2, 1})) << "slot " << i;
            for (const TVector3& point : points)
                EXPECT_EQ(point.x, x) << "slot " << i << " holds another particle's trail";
        }
    }
}

TEST_F(TrailTest, RemoveParticleMovesTheLastTrailAndNewbornsStartEmpty) {
    TParticleEffectContainer container = Resting(5, {0.38f, 5, 0.1f, 0});
    PassAt(container, 1, 0.1f);
    container.Particles[4].Position.x = 40.0f; // the last, which takes slot 1
    PassAt(container, 2, 0.1f);
    RemoveParticle(container, 1);
    ASSERT_EQ(TrailPoints(container, 1).size(), 2u);
    EXPECT_EQ(TrailPoints(container, 1)[0].x, 40.0f);
    EXPECT_EQ(TrailPoints(container, 1)[1].x, 4.0f);
    // A newborn in the freed slot and one past it: neither inherits what the slots held.
    AddParticle(container, {7, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
    AddParticle(container, {8, 0, 0}, {1, 1, 0}, {1, 1, 1}, 0, 10.0f);
    EXPECT_TRUE(TrailPoints(container, 4).empty());
    EXPECT_TRUE(TrailPoints(container, 5).empty());
    PassAt(container, 3, 0.1f);
    EXPECT_EQ(Heights(TrailPoints(container, 4)), std::vector<float>{3});
    EXPECT_EQ(Heights(TrailPoints(container, 0)), (std::vector<float>{3, 2, 1}));
}

TEST_F(TrailTest, MaxParticlesKeepsTrailsInLowSlotsOnly) {
    TParticleEffectContainer container = Resting(10, {0.38f, 5, 0.1f, 4});
    for (int pass = 1; pass <= 2; ++pass)
        PassAt(container, float(pass), 0.1f);
    for (std::int32_t i = 0; i < 10; ++i)
        EXPECT_EQ(TrailPoints(container, i).size(), i < 4 ? 2u : 0u) << "slot " << i;
    EXPECT_EQ(TrailVertexCapacity(container), 4u * 4u * 4u);
    // Slot 1's particle dies: the one from slot 9 has no trail and starts an empty one there.
    container.Particles[1].LifeLeft = 0.05f;
    PassAt(container, 3, 0.1f);
    EXPECT_EQ(TrailPoints(container, 1).size(), 1u);
    EXPECT_EQ(TrailPoints(container, 1)[0].x, 9.0f);
    EXPECT_EQ(TrailPoints(container, 2).size(), 3u);
}

TEST_F(TrailTest, AChangeOfShapeEmptiesEveryTrail) {
    const TParticleTrail shapes[] = {
        {0.76f, 9, 0.1f, 0}, {0.19f, 3, 0.1f, 0}, {0.38f, 5, 0.1f, 2}, {0.38f, 0, 0.1f, 0}};
    for (const TParticleTrail& shape : shapes) {
        SCOPED_TRACE(shape.Points * 100 + shape.MaxParticles);
        TParticleEffectContainer container = Resting(20, {0.38f, 5, 0.1f, 0});
        for (int pass = 1; pass <= 6; ++pass)
            PassAt(container, float(pass), 0.1f);
        container.Trail = shape;
        ShapeTrails(container);
        for (std::int32_t i = 0; i < 20; ++i)
            EXPECT_TRUE(TrailPoints(container, i).empty());
        EXPECT_EQ(TrailVertexCapacity(container),
                  shape.Points < 2 ? 0u
                                   : std::size_t(shape.Points - 1) * 4u * (shape.MaxParticles ? 2u : 20u));
        PassAt(container, 7, 0.1f); // the new shape records within its bounds
        EXPECT_EQ(TrailPoints(container, 0).size(), shape.Points < 2 ? 0u : 1u);
    }
}

TEST_F(TrailTest, TranslateParticlesMovesTheTrails) {
    TParticleEffectContainer container = Resting(9, {0.38f, 5, 0.1f, 0});
    for (int pass = 1; pass <= 3; ++pass)
        PassAt(container, float(pass), 0.1f);
    TranslateParticles(container, {10, 20, 30});
    for (std::int32_t i = 0; i < 9; ++i) {
        const std::vector<TVector3> points = TrailPoints(container, i);
        ASSERT_EQ(points.size(), 3u);
        for (std::size_t k = 0; k < points.size(); ++k) {
            EXPECT_EQ(points[k].x, float(i) + 10.0f);
            EXPECT_EQ(points[k].y, float(3 - k) + 20.0f);
            EXPECT_EQ(points[k].z, 30.0f);
        }
    }
}

TEST_F(TrailTest, ACopyOfTheArrayKeepsTheHistory) {
    TParticleEffectContainer container = Resting(11, {0.38f, 5, 0.1f, 0});
    for (int pass = 1; pass <= 3; ++pass)
        PassAt(container, float(pass), 0.1f);
    TParticleEffectContainer copy = container;
    TParticleArray assigned;
    assigned = container.Particles;
    PassAt(container, 4, 0.1f); // the original goes on; the copies keep what they had
    for (std::int32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(Heights(TrailPoints(copy, i)), (std::vector<float>{3, 2, 1}));
        EXPECT_EQ(Heights(TrailPoints(container, i)), (std::vector<float>{4, 3, 2, 1}));
    }
    copy.Particles = assigned;
    PassAt(copy, 4, 0.1f); // and record on, in step with the original
    for (std::int32_t i = 0; i < 11; ++i)
        EXPECT_EQ(Heights(TrailPoints(copy, i)), Heights(TrailPoints(container, i)));
}

TEST_F(TrailTest, TheStillPassDrawsTrailsAndRecordsNothing) {
    TParticleEffectContainer container = Resting(3, {0.38f, 5, 0.5f, 0});
    TParticleEffectContainer played = Resting(3, {0.38f, 5, 0.5f, 0});
    for (int pass = 1; pass <= 3; ++pass) {
        PassAt(container, float(pass), 0.1f);
        PassAt(played, float(pass), 0.1f);
    }
    for (int frame = 0; frame < 5; ++frame) {
        GLRecorder().Calls.clear();
        DrawParticlesStill(container);
        // The ribbons first, from past the particles' room, then the particles.
        std::vector<std::vector<double>> draws;
        for (const TGLCall& call : GLRecorder().Calls)
            if (call.Name == "DrawArrays") draws.push_back(call.Args);
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_EQ(draws[0], (std::vector<double>{GL_QUADS, double(container.BufferCapacity), 3 * 4 * 3}));
        EXPECT_EQ(draws[1], (std::vector<double>{GL_QUADS, 0, 12}));
    }
    for (int pass = 4; pass <= 9; ++pass) {
        PassAt(container, float(pass), 0.1f);
        PassAt(played, float(pass), 0.1f);
        for (std::int32_t i = 0; i < 3; ++i)
            EXPECT_EQ(Heights(TrailPoints(container, i)), Heights(TrailPoints(played, i))) << "pass " << pass;
    }
}

TEST_F(TrailTest, HistoryIsRecordedWithoutGL) {
    GL.Ready = false;
    TParticleEffectContainer container = Resting(3, {0.38f, 5, 0.5f, 0});
    for (int pass = 1; pass <= 3; ++pass)
        PassAt(container, float(pass), 0.1f);
    GL.Ready = true;
    EXPECT_TRUE(GLRecorder().Calls.empty());
    EXPECT_EQ(container.VertexBuffer, 0u);
    EXPECT_EQ(Heights(TrailPoints(container, 2)), (std::vector<float>{3, 2, 1}));
}

namespace {

// A quad's corners: the older point's left and right edges are corners 3 and 2, the newer's 0 and 1.
struct TEdge {
    TParticleVertex Left, Right;
};

// The edges of one ribbon of n points from its 4 (n - 1) vertices, head first.
std::vector<TEdge> Edges(const std::vector<TParticleVertex>& v) {
    std::vector<TEdge> edges;
    for (std::size_t quad = 0; quad * 4 < v.size(); ++quad) {
        if (quad == 0) edges.push_back({v[0], v[1]});
        edges.push_back({v[4 * quad + 3], v[4 * quad + 2]});
    }
    return edges;
}

TVector3 At(const TParticleVertex& v) {
    return {v.X, v.Y, v.Z};
}

} // namespace

TEST_F(TrailTest, RibbonsNarrowAndFadeToNothingFacingTheCamera) {
    struct TCase {
        const char* Name;
        TCameraAxes Camera;
    };
    const TCase cases[] = {
        {"looking along -z", {{1, 0, 0}, {0, 1, 0}}},
        {"turned about y", {{0, 0, -1}, {0, 1, 0}}},
        {"looking down", {{1, 0, 0}, {0, 0, -1}}},
        {"askew", {{0.6f, 0, 0.8f}, {0, 1, 0}}},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(1, {0.38f, 5, 0.5f, 0});
        SetTextureProperties(container, 1, 2, 2); // tile 0: u 0 .. 0.5, v 0.5 .. 1
        for (int pass = 1; pass <= 6; ++pass) {
            container.Particles[0].Position =
                TVector3{float(pass), 0.1f * float(pass * pass), -0.5f * float(pass)};
            UpdateAndDraw(container, 0.1f);
        }
        container.Particles[0].Position = TVector3{7.5f, 5, -4};
        std::vector<TVector3> points = TrailPoints(container, 0);
        points.insert(points.begin(), TVector3(container.Particles[0].Position));
        ASSERT_EQ(points.size(), 5u);

        std::vector<TParticleVertex> v(TrailVertexCapacity(container));
        ASSERT_EQ(v.size(), 16u);
        ASSERT_EQ(WriteTrailVertices(container, test.Camera, v.data(), v.size()), 16u);
        const std::vector<TEdge> edges = Edges(v);
        ASSERT_EQ(edges.size(), 5u);
        const TVector3 toEye = CrossProduct(test.Camera.Right, test.Camera.Up);
        float lastWidth = 1e9f;
        int lastAlpha = 256;
        for (std::size_t i = 0; i < edges.size(); ++i) {
            SCOPED_TRACE(i);
            const TVector3 across = VectorSub(At(edges[i].Right), At(edges[i].Left));
            const float width = VectorLength(across);
            EXPECT_LT(width, lastWidth);
            EXPECT_LT(int(edges[i].Left.A), lastAlpha);
            lastWidth = width;
            lastAlpha = edges[i].Left.A;
            // Through the point, across its segment, in the plane facing the camera.
            const TVector3 middle = VectorAdd(At(edges[i].Left), At(edges[i].Right));
            EXPECT_NEAR(middle.x / 2, points[i].x, 1e-4f);
            EXPECT_NEAR(middle.y / 2, points[i].y, 1e-4f);
            EXPECT_NEAR(middle.z / 2, points[i].z, 1e-4f);
            const TVector3 along = VectorSub(points[i == 4 ? 3 : i], points[i == 4 ? 4 : i + 1]);
            if (width > 0) {
                EXPECT_NEAR(DotProduct(across, toEye) / width, 0.0f, 1e-5f);
                EXPECT_NEAR(DotProduct(across, along) / width, 0.0f, 1e-4f);
            }
            EXPECT_EQ(edges[i].Left.A, edges[i].Right.A);
            for (const TParticleVertex& corner : {edges[i].Left, edges[i].Right}) {
                EXPECT_EQ(corner.R, 255);
                EXPECT_EQ(corner.G, 127);
                EXPECT_EQ(corner.B, 63);
                EXPECT_EQ(corner.V, 0.75f); // the middle of the tile along the ribbon
            }
            EXPECT_EQ(edges[i].Left.U, 0.0f);
            EXPECT_EQ(edges[i].Right.U, 0.5f);
        }
        EXPECT_NEAR(VectorLength(VectorSub(At(edges[0].Right), At(edges[0].Left))), 0.5f, 1e-5f);
        EXPECT_EQ(edges[0].Left.A, 255); // the particle's own opacity at the head
        EXPECT_EQ(lastWidth, 0.0f);
        EXPECT_EQ(lastAlpha, 0);
    }
}

TEST_F(TrailTest, ARibbonWithoutLengthLiesAlongTheCameraRight) {
    // Resting particles: every segment has no length, so no side of its own.
    TParticleEffectContainer container = Resting(2, {0.285f, 4, 1.0f, 0});
    for (int pass = 1; pass <= 4; ++pass)
        UpdateAndDraw(container, 0.1f);
    const TCameraAxes camera{{0, 0, -1}, {0, 1, 0}};
    std::vector<TParticleVertex> v(TrailVertexCapacity(container));
    ASSERT_EQ(WriteTrailVertices(container, camera, v.data(), v.size()), 24u);
    EXPECT_EQ(At(v[0]).x, 0.0f);
    EXPECT_EQ(At(v[0]).z, 0.5f);
    EXPECT_EQ(At(v[1]).z, -0.5f);
    EXPECT_EQ(At(v[12]).x, 1.0f); // the second particle's ribbon
}

TEST_F(TrailTest, OnlyWholeRibbonsAreWrittenAndFewerWithoutWidthOrLife) {
    struct TCase {
        const char* Name;
        float Width;
        std::size_t Room;
        float DeadLife; // particle 1's life (below 0: a pass would remove it)
        std::size_t Written;
    };
    const TCase cases[] = {
        {"room for all", 1.0f, 36, 5.0f, 36}, {"room for two", 1.0f, 35, 5.0f, 24},
        {"room for none", 1.0f, 11, 5.0f, 0}, {"no width", 0.0f, 36, 5.0f, 0},
        {"NaN width", NAN, 36, 5.0f, 0},      {"a dying particle", 1.0f, 36, -1.0f, 24},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        TParticleEffectContainer container = Resting(3, {0.285f, 4, test.Width, 0});
        for (int pass = 1; pass <= 3; ++pass)
            PassAt(container, float(pass), 0.1f);
        container.Particles[1].LifeLeft = test.DeadLife;
        std::vector<TParticleVertex> v(36);
        EXPECT_EQ(WriteTrailVertices(container, TCameraAxes{}, v.data(), test.Room), test.Written);
    }
}

TEST_F(TrailTest, UpdateAndDrawDrawsTheRibbonsFirstFromTheParticlesBuffer) {
    TParticleEffectContainer container = Resting(2, {0.38f, 5, 0.5f, 0});
    for (int pass = 1; pass <= 3; ++pass)
        PassAt(container, float(pass), 0.1f);
    GLRecorder().Calls.clear();
    PassAt(container, 4, 0.1f);
    ASSERT_EQ(container.BufferCapacity, 40);
    std::vector<std::vector<double>> draws;
    for (const TGLCall& call : GLRecorder().Calls) {
        if (call.Name == "DrawArrays") draws.push_back(call.Args);
        if (call.Name == "BufferDataARB") {
            EXPECT_EQ(call.Args[1], (40.0 + 2 * 4 * 4) * 24);
        }
    }
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0], (std::vector<double>{GL_QUADS, 40, 32}));
    EXPECT_EQ(draws[1], (std::vector<double>{GL_QUADS, 0, 8}));
    // What was drawn is what the pure function writes for the camera of the pass.
    std::vector<TParticleVertex> expected(32);
    ASSERT_EQ(WriteTrailVertices(container, TCameraAxes{}, expected.data(), expected.size()), 32u);
    const std::vector<std::uint8_t>& mapped = GLRecorder().LastMappedCopy;
    ASSERT_EQ(mapped.size(), 72 * sizeof(TParticleVertex));
    EXPECT_EQ(std::memcmp(mapped.data() + 40 * sizeof(TParticleVertex), expected.data(),
                          32 * sizeof(TParticleVertex)),
              0);
}

TEST_F(TrailTest, RibbonsAreTheSameWhereverTheyAreWritten) {
    // 16-byte aligned vertices take streaming stores, others plain ones: the same bytes.
    TParticleEffectContainer container = Resting(4, {0.38f, 6, 0.3f, 0});
    for (int pass = 1; pass <= 7; ++pass) {
        for (std::size_t i = 0; i < 4; ++i)
            container.Particles[i].Position.z = float(pass * pass) * 0.1f * float(i);
        PassAt(container, float(pass), 0.1f);
    }
    const std::size_t count = TrailVertexCapacity(container);
    ASSERT_EQ(count, 4u * 5u * 4u);
    TVertexBuffer aligned(count);
    std::vector<TParticleVertex> shifted(count + 1);
    ASSERT_EQ(WriteTrailVertices(container, TCameraAxes{}, aligned.data(), count), count);
    ASSERT_EQ(WriteTrailVertices(container, TCameraAxes{}, shifted.data() + 1, count), count);
    EXPECT_EQ(std::memcmp(aligned.data(), shifted.data() + 1, count * sizeof(TParticleVertex)), 0);
}
