// The particle pass against a real OpenGL implementation (Mesa under Xvfb): what the buffer object
// holds, what reaches the framebuffer, and the state left behind.

#include "gl_context.h"

#include "engine/particle_container.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lumidor;

namespace {

constexpr int size = 64;

// A 2 x 2 RGBA texture: red top-left, green top-right, blue bottom-left, white bottom-right
// (rows bottom first, as GL stores them).
GLuint MakeQuadrantTexture() {
    const std::uint8_t pixels[16] = {0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255};
    GLuint texture = 0;
    GL.GenTextures(1, &texture);
    GL.BindTexture(GL_TEXTURE_2D, texture);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    GL.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GL.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GL.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    return texture;
}

class ParticleRenderingGL : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!lumidor::testing::EnsureGLContext(size, size))
            GTEST_SKIP() << "no OpenGL context (run under xvfb-run)";
        lumidor::testing::ResetMatrices(size, size);
        GL.ClearColor(0, 0, 0, 0);
        GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        GL.Disable(GL_DEPTH_TEST);
        GL.Enable(GL_TEXTURE_2D);
        texture = MakeQuadrantTexture();
    }

    // Pixel (x, y) of the window, y counted from the bottom.
    const std::uint8_t* Pixel(const std::vector<std::uint8_t>& pixels, int x, int y) {
        return &pixels[std::size_t((y * size + x) * 4)];
    }

    GLuint texture = 0;
    TParticleEffectContainer container{};
};

} // namespace

TEST_F(ParticleRenderingGL, QuadCoversTheViewWithTheTileCornersInPlace) {
    SetTextureProperties(container, texture, 1, 1);
    SetBlendFactor(container, GL_ONE, GL_ZERO);
    AddParticle(container, {0, 0, 0}, {2, 2, 0}, {1, 1, 1}, 0, 10.0f);
    SetParticleFading(container, false, false, 0);
    UpdateAndDraw(container, 0.0f);
    const std::vector<std::uint8_t> pixels = lumidor::testing::ReadBackBuffer(size, size);
    const std::uint8_t* topLeft = Pixel(pixels, 4, size - 5);
    const std::uint8_t* topRight = Pixel(pixels, size - 5, size - 5);
    const std::uint8_t* bottomLeft = Pixel(pixels, 4, 4);
    const std::uint8_t* bottomRight = Pixel(pixels, size - 5, 4);
    EXPECT_EQ(topLeft[0], 255);
    EXPECT_EQ(topLeft[1], 0);
    EXPECT_EQ(topRight[1], 255);
    EXPECT_EQ(topRight[0], 0);
    EXPECT_EQ(bottomLeft[2], 255);
    EXPECT_EQ(bottomLeft[0], 0);
    EXPECT_EQ(bottomRight[0], 255);
    EXPECT_EQ(bottomRight[1], 255);
    EXPECT_EQ(bottomRight[2], 255);

    // State left behind: blending and alpha test off, texturing on, buffer still bound and unmapped.
    EXPECT_FALSE(GL.IsEnabled(GL_BLEND));
    EXPECT_FALSE(GL.IsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(GL.IsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(GL.IsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(GL.IsEnabled(GL_COLOR_ARRAY));
    GLint bound = 0, mapped = 1;
    GL.GetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &bound);
    EXPECT_EQ(GLuint(bound), container.VertexBuffer);
    GL.GetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_MAPPED_ARB, &mapped);
    EXPECT_EQ(mapped, GL_FALSE);
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ParticleRenderingGL, ColourBytesModulateTheTexture) {
    SetTextureProperties(container, texture, 2, 2);
    SetBlendFactor(container, GL_ONE, GL_ZERO);
    // Tile 3 of a 2 x 2 atlas is the texture's white bottom-right quadrant.
    AddParticle(container, {0.5f, -0.5f, 0}, {0.5f, 0.5f, 0}, {1, 0.5f, 0}, 3, 10.0f);
    SetParticleFading(container, false, false, 0);
    UpdateAndDraw(container, 0.0f);
    const std::vector<std::uint8_t> pixels = lumidor::testing::ReadBackBuffer(size, size);
    const std::uint8_t* centre = Pixel(pixels, 3 * size / 4, size / 4);
    EXPECT_EQ(centre[0], 255);
    EXPECT_NEAR(centre[1], 127, 1);
    EXPECT_EQ(centre[2], 0);
}

TEST_F(ParticleRenderingGL, ZeroAlphaIsDiscardedAndAdditiveBlendingAdds) {
    SetTextureProperties(container, texture, 2, 2);
    SetBlendFactor(container, GL_SRC_ALPHA, GL_ONE);
    // Two overlapping half-bright quads on the white quadrant add up; a third with alpha 0 does
    // nothing even with a blend mode that would otherwise overwrite.
    for (int k = 0; k < 2; ++k) {
        AddParticle(container, {0.5f, -0.5f, 0}, {0.5f, 0.5f, 0}, {0.25f, 0.25f, 0.25f}, 3, 10.0f);
        SetParticleFading(container, false, false, k);
    }
    UpdateAndDraw(container, 0.0f);
    std::vector<std::uint8_t> pixels = lumidor::testing::ReadBackBuffer(size, size);
    EXPECT_NEAR(Pixel(pixels, 3 * size / 4, size / 4)[0], 126, 2);

    TParticleEffectContainer transparent{};
    SetTextureProperties(transparent, texture, 2, 2);
    SetBlendFactor(transparent, GL_ONE, GL_ZERO);
    AddParticle(transparent, {0.5f, -0.5f, 0}, {0.5f, 0.5f, 0}, {1, 0, 0}, 3, 10.0f);
    SetParticleFading(transparent, false, false, 0);
    transparent.Particles[0].FadeOutAlpha = 0.0f;
    UpdateAndDraw(transparent, 0.0f);
    pixels = lumidor::testing::ReadBackBuffer(size, size);
    EXPECT_NEAR(Pixel(pixels, 3 * size / 4, size / 4)[0], 126, 2);
    EXPECT_NEAR(Pixel(pixels, 3 * size / 4, size / 4)[1], 126, 2);
}

TEST_F(ParticleRenderingGL, EmptyContainerRaisesNoError) {
    UpdateAndDraw(container, 0.1f);
    AddParticle(container, {}, {1, 1, 0}, {1, 1, 1}, 0, 0.01f);
    UpdateAndDraw(container, 0.1f); // the particle dies: a draw of zero vertices
    EXPECT_EQ(ParticleCount(container), 0);
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
}
