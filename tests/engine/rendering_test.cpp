#include "engine/gl_recorder.h"
#include "engine/particle_container.h"
#include "engine/simulation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace lumidor;

namespace {

class RenderingTest : public ::testing::Test {
  protected:
    void SetUp() override { InstallGLRecorder(); }

    std::vector<TParticleVertex> MappedVertices() {
        const std::vector<std::uint8_t>& bytes = GLRecorder().LastMappedCopy;
        std::vector<TParticleVertex> vertices(bytes.size() / sizeof(TParticleVertex));
        std::memcpy(vertices.data(), bytes.data(), vertices.size() * sizeof(TParticleVertex));
        return vertices;
    }
    double LastDrawCount() {
        for (auto call = GLRecorder().Calls.rbegin(); call != GLRecorder().Calls.rend(); ++call)
            if (call->Name == "DrawArrays") return call->Args[2];
        return -1;
    }

    TParticleEffectContainer container{};
};

} // namespace

TEST_F(RenderingTest, EmptyContainerMakesNoGLCall) {
    UpdateAndDraw(container, 0.1f);
    EXPECT_TRUE(GLRecorder().Calls.empty());
}

TEST_F(RenderingTest, CornersColoursAndTilesWithIdentityCamera) {
    SetTextureProperties(container, 5, 2, 4);
    AddParticle(container, {1, 2, 3}, {2, 4, 0}, {1, 0.5f, 0}, 5, 10.0f);
    SetParticleFading(container, false, false, 0);
    GLRecorder().Calls.clear();
    UpdateAndDraw(container, 0.0f);
    const std::vector<TParticleVertex> v = MappedVertices();
    ASSERT_GE(v.size(), 4u);
    const float expected[4][3] = {{2, 4, 3}, {0, 4, 3}, {0, 0, 3}, {2, 0, 3}};
    const float tileU[4] = {0.5f, 0.25f, 0.25f, 0.5f}, tileV[4] = {0.5f, 0.5f, 0, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(v[k].X, expected[k][0]);
        EXPECT_FLOAT_EQ(v[k].Y, expected[k][1]);
        EXPECT_FLOAT_EQ(v[k].Z, expected[k][2]);
        EXPECT_FLOAT_EQ(v[k].U, tileU[k]);
        EXPECT_FLOAT_EQ(v[k].V, tileV[k]);
        EXPECT_EQ(v[k].R, 255);
        EXPECT_EQ(v[k].G, 127);
        EXPECT_EQ(v[k].B, 0);
        EXPECT_EQ(v[k].A, 255);
    }
    EXPECT_EQ(LastDrawCount(), 4);
}

TEST_F(RenderingTest, RotatedCameraScalesDepthBySizeY) {
    // Rotation of 90 degrees about y: right = (0, 0, -1), up = (0, 1, 0).
    const GLfloat rotation[16] = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};
    std::memcpy(GLRecorder().Modelview, rotation, sizeof rotation);
    AddParticle(container, {1, 2, 3}, {2, 4, 0}, {1, 1, 1}, 0, 10.0f);
    UpdateAndDraw(container, 0.0f);
    const std::vector<TParticleVertex> v = MappedVertices();
    EXPECT_FLOAT_EQ(v[0].Z - v[1].Z, -4.0f); // 4 wide along z
    EXPECT_FLOAT_EQ(v[0].Y - v[3].Y, 4.0f);  // 4 high
    EXPECT_FLOAT_EQ(v[0].X, 1.0f);
}

TEST_F(RenderingTest, TileOutsideTheTableDrawsTheWholeTexture) {
    const float u[4] = {1, 0, 0, 1}, vv[4] = {1, 1, 0, 0};
    AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, 7, 10.0f); // no tiles at all
    UpdateAndDraw(container, 0.0f);
    std::vector<TParticleVertex> v = MappedVertices();
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(v[k].U, u[k]);
        EXPECT_EQ(v[k].V, vv[k]);
    }
    // Two different tiles in one pass, both outside the table.
    SetTextureProperties(container, 1, 1, 2);
    AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, -1, 10.0f);
    UpdateAndDraw(container, 0.0f);
    v = MappedVertices();
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(v[k].U, u[k % 4]);
        EXPECT_EQ(v[k].V, vv[k % 4]);
    }
}

TEST_F(RenderingTest, DrawCoversSurvivorsOnly) {
    for (int i = 0; i < 10; ++i)
        AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, 0, i < 3 ? 0.05f : 5.0f);
    EXPECT_EQ(container.BufferCapacity, 40);
    UpdateAndDraw(container, 0.01f);
    EXPECT_EQ(LastDrawCount(), 40);
    UpdateAndDraw(container, 0.1f);
    EXPECT_EQ(LastDrawCount(), 28);
    EXPECT_EQ(ParticleCount(container), 7);
}

TEST_F(RenderingTest, StateIsSetAndRestoredInOrder) {
    SetBlendFactor(container, GL_SRC_ALPHA, GL_ONE);
    AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    GLRecorder().Calls.clear();
    UpdateAndDraw(container, 0.01f);
    const std::vector<std::string> expected = {"Enable",
                                               "Enable",
                                               "AlphaFunc",
                                               "BlendFunc",
                                               "BindTexture",
                                               "BindBufferARB",
                                               "EnableClientState",
                                               "BufferDataARB",
                                               "MapBufferARB",
                                               "GetFloatv",
                                               "UnmapBufferARB",
                                               "InterleavedArrays",
                                               "DrawArrays",
                                               "DisableClientState",
                                               "Disable",
                                               "Disable"};
    EXPECT_EQ(RecordedGLCallNames(), expected);
    const auto& calls = GLRecorder().Calls;
    EXPECT_EQ(calls[0].Args[0], GL_BLEND);
    EXPECT_EQ(calls[1].Args[0], GL_ALPHA_TEST);
    EXPECT_EQ(calls[2].Args[0], GL_GREATER);
    EXPECT_EQ(calls[3].Args[1], GL_ONE);
    EXPECT_EQ(calls[7].Args[1], 40.0 * 24.0);
    EXPECT_EQ(calls[7].Args[3], GL_DYNAMIC_DRAW_ARB);
    EXPECT_EQ(calls[11].Args[0], GL_T2F_C4UB_V3F);
    EXPECT_EQ(calls[11].Args[1], 24);
    EXPECT_EQ(calls[12].Args[0], GL_QUADS);
    EXPECT_EQ(calls[14].Args[0], GL_BLEND);
    EXPECT_EQ(calls[15].Args[0], GL_ALPHA_TEST);
}

TEST_F(RenderingTest, DebugLinesSkipTipsAtTheOrigin) {
    ToggleDebugMode(container);
    AddParticle(container, {0, 0, 0}, {1, 1, 0}, {0.5f, 0.25f, 1}, 0, 5.0f); // resting at the origin
    AddParticle(container, {0, 2, 0}, {1, 1, 0}, {1, 1, 1}, 0, 5.0f);
    GLRecorder().Calls.clear();
    UpdateAndDraw(container, 0.0f);
    EXPECT_EQ(CountGLCalls("Color4f"), 2);  // every particle's colour is issued, opaque
    EXPECT_EQ(CountGLCalls("Vertex3f"), 2); // but only the second has a line
    EXPECT_EQ(CountGLCalls("Begin"), 1);
    for (const TGLCall& call : GLRecorder().Calls)
        if (call.Name == "Color4f") {
            EXPECT_EQ(call.Args[3], 1.0);
        }
    const auto names = RecordedGLCallNames();
    EXPECT_EQ(names.back(), "Enable"); // texturing back on after the lines
    EXPECT_EQ(GLRecorder().Calls.back().Args[0], GL_TEXTURE_2D);
}
