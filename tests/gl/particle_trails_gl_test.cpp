// Trails against a real OpenGL implementation (Mesa under Xvfb): the ribbon behind a particle
// reaches the framebuffer, from a pass and from the still pass, with no GL error.

#include "gl_context.h"

#include "engine/particle_container.h"

#include <gtest/gtest.h>

#include <vector>

using namespace lumidor;

namespace {

constexpr int size = 64;

// A white 1 x 1 texture: the ribbon shows its vertex colour.
GLuint MakeWhiteTexture() {
    const std::uint8_t pixel[4] = {255, 255, 255, 255};
    GLuint texture = 0;
    GL.GenTextures(1, &texture);
    GL.BindTexture(GL_TEXTURE_2D, texture);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    GL.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    GL.TexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GL.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GL.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return texture;
}

class ParticleTrailsGL : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!lumidor::testing::EnsureGLContext(size, size))
            GTEST_SKIP() << "no OpenGL context (run under xvfb-run)";
        lumidor::testing::ResetMatrices(size, size);
        GL.Disable(GL_DEPTH_TEST);
        GL.Enable(GL_TEXTURE_2D);
        texture = MakeWhiteTexture();
    }

    // A small red particle that travels from x = -0.6 to x = 0.6 along y = 0, drawn each pass; the
    // screen is cleared before the last one, with the paused frame's still pass when `still`.
    std::vector<std::uint8_t> Travel(const TParticleTrail& trail, bool still) {
        TParticleEffectContainer container;
        container.Trail = trail;
        SetTextureProperties(container, texture, 1, 1);
        SetBlendFactor(container, GL_ONE, GL_ZERO);
        AddParticle(container, {-0.6f, 0, 0}, {0.05f, 0.05f, 0}, {1, 0, 0}, 0, 10.0f);
        SetParticleFading(container, false, false, 0);
        for (int pass = 0; pass < 4; ++pass) {
            container.Particles[0].Position.x = -0.6f + 0.4f * float(pass);
            GL.ClearColor(0, 0, 0, 0);
            GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            if (still && pass == 3)
                DrawParticlesStill(container);
            else
                UpdateAndDraw(container, 0.1f);
        }
        EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
        return lumidor::testing::ReadBackBuffer(size, size);
    }

    // The red of pixel (x, y), y counted from the bottom.
    int Red(const std::vector<std::uint8_t>& pixels, int x, int y) {
        return pixels[std::size_t((y * size + x) * 4)];
    }

    GLuint texture = 0;
};

} // namespace

TEST_F(ParticleTrailsGL, TheRibbonBehindTheParticleReachesTheScreen) {
    struct TCase {
        const char* Name;
        TParticleTrail Trail;
        bool Still;
        bool Ribbon;
    };
    const TCase cases[] = {
        {"a pass", {0.38f, 5, 0.5f, 0}, false, true},
        {"the still pass", {0.38f, 5, 0.5f, 0}, true, true},
        {"no trail", {0.38f, 0, 0.5f, 0}, false, false},
        {"one point, where the particle is", {0.38f, 2, 0.5f, 0}, false, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Name);
        const std::vector<std::uint8_t> pixels = Travel(test.Trail, test.Still);
        // On the path between x = -0.2 and 0.6, far from the particle at 0.6 (or at 0.2 when still).
        const int onPath = size / 2 - 3; // x about -0.1
        EXPECT_EQ(Red(pixels, onPath, size / 2) > 200, test.Ribbon);
        EXPECT_EQ(Red(pixels, onPath, size / 2 + 12), 0); // above the ribbon's width
        EXPECT_EQ(Red(pixels, 2, size / 2), 0);           // past the tail
    }
}
