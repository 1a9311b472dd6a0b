// The terrain's display list compiled and drawn by Mesa, seen through the demo's camera.
#include "terrain/terrain.h"

#include "tests/gl/gl_context.h"
#include "tests/terrain/test_bitmaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lumidor {
namespace {

constexpr int Width = 200;
constexpr int Height = 150;

struct TPixelStats {
    int Lit = 0;     ///< pixels brighter than the black background
    int GreenUp = 0; ///< lit pixels whose green (the normal's y) dominates
};

// The stress-test view: perspective 45 degrees at 4:3, camera 5 back, then the preset's own
// translation and tilt, then the terrain's origin.
TPixelStats Render(const THeightMapTerrain& terrain, const std::string& name) {
    testing::ResetMatrices(Width, Height);
    GL.MatrixMode(GL_PROJECTION);
    GL.gluPerspective(45, 800.0 / 600.0, 0.05, 100);
    GL.MatrixMode(GL_MODELVIEW);
    GL.Translatef(0, 0, -5);
    GL.Translatef(0, 3, -5);
    GL.Rotatef(45, 1, 0, 0);
    GL.Enable(GL_DEPTH_TEST);
    GL.DepthMask(GL_TRUE);
    GL.Disable(GL_TEXTURE_2D);
    GL.Disable(GL_LIGHTING);
    GL.ClearColor(0, 0, 0, 0);
    GL.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GL.PushMatrix();
    GL.Translatef(-7.5f, -5, -7.5f);
    DrawTerrain(terrain);
    GL.PopMatrix();
    const std::vector<std::uint8_t> rgba = testing::ReadBackBuffer(Width, Height);
    lumidor::testing::KeepPicture(rgba, Width, Height, name);
    TPixelStats stats;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i] + rgba[i + 1] + rgba[i + 2] < 12) continue;
        ++stats.Lit;
        if (rgba[i + 1] > rgba[i] && rgba[i + 1] > rgba[i + 2]) ++stats.GreenUp;
    }
    return stats;
}

class TerrainGL : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!testing::EnsureGLContext(Width, Height))
            GTEST_SKIP() << "no OpenGL context (run under xvfb-run)";
        while (GL.GetError() != GL_NO_ERROR) {
        }
    }
};

// A round hill, 256 x 256, brighter towards the middle.
TRgbImage Hill() {
    TRgbImage picture = testing::SolidImage(256, 256, 0, 0, 0);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double d = std::hypot(x - 128.0, y - 128.0) / 128.0;
            const auto g = std::uint8_t(std::lround(220.0 * std::exp(-3 * d * d)));
            testing::SetPixel(picture, x, y, g, g, g);
        }
    }
    return picture;
}

TEST_F(TerrainGL, TheCompiledHillDrawsLitByItsNormalColours) {
    const std::string path = ::testing::TempDir() + "terrain_gl_hill.bmp";
    testing::WriteBmp24(path, Hill());
    THeightMapTerrain terrain;
    LoadHeightMap(terrain, path, 256, 15, 0.03f, 2);
    std::filesystem::remove(path);
    ASSERT_NE(terrain.DisplayList, 0u);
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));

    const TPixelStats drawn = Render(terrain, "terrain_hill");
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(drawn.Lit, Width * Height / 4); // the surface fills much of the view
    EXPECT_GT(drawn.GreenUp, drawn.Lit / 2);  // mostly facing up: green dominates

    const TPixelStats empty = Render(THeightMapTerrain{}, "terrain_empty");
    EXPECT_EQ(empty.Lit, 0);
}

TEST_F(TerrainGL, TheDemoHeightMapCompilesAndDraws) {
    const std::string path = std::string(LUMIDOR_SOURCE_DIR) + "/data/hm.bmp";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not generated yet";
    THeightMapTerrain terrain;
    LoadHeightMap(terrain, path, 256, 15, 0.03f, 2);
    ASSERT_NE(terrain.DisplayList, 0u);
    const TPixelStats drawn = Render(terrain, "terrain_demo");
    EXPECT_EQ(GL.GetError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(drawn.Lit, Width * Height / 4);
}

} // namespace
} // namespace lumidor
